// An output killed while it is written (SIGKILL: no clean-up code runs) leaves nothing another
// user can read, never a part of a file under the name asked for, and the next run to the same
// name clears what it left.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QProcess>
#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/ToolProcess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

struct KilledOutput {
    const char* name;
    std::vector<std::string> args;  ///< without the file
    const char* file;
    const char* opening;
};

class KilledWhileWriting : public ::testing::TestWithParam<KilledOutput> {
protected:
    void SetUp() override {
        // A store large enough that copying it takes many writes.
        ASSERT_EQ(testing::runToolProcess({"--store", "--months", "32767"}, setup()).status, 0);
        std::filesystem::create_directory(outputs());
    }
    testing::ProcessSetup setup() const { return {store.folder(), {}, {}}; }
    std::filesystem::path outputs() const { return store.folder() / "out"; }
    std::filesystem::path target() const { return outputs() / GetParam().file; }
    std::vector<std::string> args() const {
        std::vector<std::string> all = GetParam().args;
        all.push_back(target().string());
        return all;
    }

    // Runs the output and kills it once the folder has seen the given number of changes (or
    // lets it finish when it is done sooner).
    void killAfterChanges(int changes) {
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, outputs().c_str(), IN_CREATE | IN_MODIFY), 0);
        QProcess child;
        testing::startToolProcess(child, args(), setup());
        ASSERT_TRUE(child.waitForStarted());
        int seen = 0;
        while (child.state() != QProcess::NotRunning && seen < changes) {
            pollfd ready{watch, POLLIN, 0};
            if (::poll(&ready, 1, 20) > 0) {
                alignas(inotify_event) char buffer[4096];
                for (ssize_t got = ::read(watch, buffer, sizeof buffer); got > 0;
                     got = ::read(watch, buffer, sizeof buffer)) {
                    for (char* at = buffer; at < buffer + got;) {
                        const auto* event = reinterpret_cast<const inotify_event*>(at);
                        ++seen;
                        at += sizeof(inotify_event) + event->len;
                    }
                }
            }
            child.waitForFinished(0);
        }
        if (child.state() != QProcess::NotRunning) {
            ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        }
        child.waitForFinished(60000);
        ::close(watch);
    }

    void expectNothingReadableByOthers(int changes) {
        for (const auto& entry : std::filesystem::directory_iterator(outputs())) {
            if (entry.path() == target()) {
                // Only ever a whole file under the name asked for.
                EXPECT_EQ(contents(entry.path()).rfind(GetParam().opening, 0), 0u);
                continue;
            }
            struct stat info {};
            ASSERT_EQ(::lstat(entry.path().c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 077, 0u)
                << entry.path() << " killed after " << changes << " changes";
        }
    }

    testing::TempStore store;
};

TEST_P(KilledWhileWriting, LeavesNothingOthersCanReadAndTheNextRunClearsIt) {
    for (const int changes : {1, 3, 20, 200}) {
        killAfterChanges(changes);
        expectNothingReadableByOthers(changes);
    }
    const testing::ProcessRun run = testing::runToolProcess(args(), setup());
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(outputs())) {
        left.push_back(entry.path());
    }
    EXPECT_EQ(left, std::vector<std::filesystem::path>{target()});
    EXPECT_EQ(contents(target()).rfind(GetParam().opening, 0), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    EveryOutput, KilledWhileWriting,
    ::testing::Values(KilledOutput{"csv", {"--months", "32767", "--csv"}, "r.csv", "SN,"},
                      KilledOutput{"pdf", {"--months", "2000", "--pdf"}, "r.pdf", "%PDF-"},
                      KilledOutput{"backup", {"--backup"}, "b.db", "SQLite format 3"}),
    [](const ::testing::TestParamInfo<KilledOutput>& output) {
        return std::string(output.param.name);
    });

}  // namespace
}  // namespace quillet::testing
