// Output files aimed at by someone else: every output (CSV, PDF, backup) is written so that a
// planted link is never written through, the store's own files are never replaced, the name is
// used as the bytes given, and a folder the user may not write is reported. An output killed
// while it is written (SIGKILL: no clean-up code runs) leaves nothing another user can read,
// only ever a whole file under the name asked for, and the next run to the same name clears
// what it left.

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/InProcessTool.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

// Made by another user where the system lets the test say so (as root); the link works the
// same either way.
void plantLink(const std::filesystem::path& destination, const std::filesystem::path& link) {
    std::filesystem::create_symlink(destination, link);
    if (::geteuid() == 0) {
        ASSERT_EQ(::lchown(link.c_str(), kAnotherUser, kAnotherUser), 0);
    }
}

/// One kind of output: its option, how its finished file starts, and months enough that
/// writing them takes many writes (a backup copies the store as it is).
struct OutputKind {
    const char* option;
    const char* fileName;
    const char* opening;
    const char* manyMonths;
};

const std::vector<OutputKind> kKinds = {
    {"--csv", "r.csv", "SN,OpeningBalance", "32767"},
    {"--pdf", "r.pdf", "%PDF-", "2000"},
    {"--backup", "b.db", "SQLite format 3", ""},
};

class OutputTarget : public ::testing::TestWithParam<OutputKind> {
protected:
    void SetUp() override {
        // A store with a schedule in it, for the backup to copy and the others to protect.
        ASSERT_EQ(tool({"--store", "--months", "12"}).status, 0);
        std::filesystem::create_directory(outputs());
        std::ofstream(victim()) << "the user's own letter\n";
    }

    std::vector<std::string> argsFor(const std::filesystem::path& file, bool many = false) const {
        const OutputKind& kind = GetParam();
        if (std::string(kind.option) == "--backup") {
            return {kind.option, file.string()};
        }
        return {"--months", many ? kind.manyMonths : "3", kind.option, file.string()};
    }
    ToolRun tool(const std::vector<std::string>& args, std::optional<mode_t> umask = {}) {
        return runToolChild(args, {.dataHome = store.folder(), .umask = umask});
    }
    std::filesystem::path outputs() const { return store.folder() / "out"; }
    std::filesystem::path target() const { return outputs() / GetParam().fileName; }
    std::filesystem::path victim() const { return store.folder() / "precious.txt"; }
    std::filesystem::path storeFile() const { return store.folder() / "quillet" / "quillet.db"; }

    // Finished without a word, also with no XDG_RUNTIME_DIR, as under a bare login or a service.
    void expectFinished(const ToolRun& run) {
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_FALSE(std::filesystem::is_symlink(target()));
        EXPECT_EQ(contents(target()).rfind(GetParam().opening, 0), 0u);
        EXPECT_EQ(contents(victim()), "the user's own letter\n");
    }

    TempStore store;
};

TEST_P(OutputTarget, APlantedLinkOrTemporaryNameIsNeverWrittenThrough) {
    // A link at the name itself is replaced; names a writer with a predictable temporary would
    // use in a shared folder (a link to the user's file, a file another user made and could
    // read) are left as they are.
    plantLink(victim(), target());
    std::filesystem::path partial = target();
    partial += ".partial";
    plantLink(victim(), partial);
    std::filesystem::path hidden = partial;
    hidden += "-journal";
    std::ofstream(hidden) << "another user's file\n";
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(hidden.c_str(), kAnotherUser, kAnotherUser), 0);
    }
    ASSERT_EQ(::chmod(outputs().c_str(), 01777), 0);

    expectFinished(tool(argsFor(target())));
    EXPECT_TRUE(std::filesystem::is_symlink(partial));
    EXPECT_EQ(contents(hidden), "another user's file\n");
}

TEST_P(OutputTarget, TheFinishedFileIsNeverWritableByOthersAndABackupIsTheOwnersAlone) {
    const bool backup = std::string(GetParam().option) == "--backup";
    // Under umask 000 a careless writer leaves rw-rw-rw-.
    for (const auto& [umask, mode] : {std::pair{0, 0644}, {077, 0600}, {027, 0640}}) {
        expectFinished(tool(argsFor(target()), umask));
        EXPECT_EQ(modeOf(target()), backup ? 0600 : mode) << umask;
    }
}

TEST_P(OutputTarget, TheStoresOwnFilesAreRefusedWhateverNameLeadsThere) {
    const std::filesystem::path data = storeFile().parent_path();
    ASSERT_FALSE(contents(storeFile()).empty());
    std::filesystem::create_symlink(storeFile(), outputs() / "link.db");
    std::filesystem::create_hard_link(storeFile(), outputs() / "hard.db");
    // The WAL's name leads nowhere while no program has the store open: refused all the same.
    std::filesystem::create_symlink(data / "quillet.db-wal", outputs() / "wal-link");
    std::filesystem::create_directory_symlink(data, outputs() / "data");
    const std::vector<std::filesystem::path> ways = {storeFile(),
                                                     data / "quillet.db-wal",
                                                     data / "quillet.db-shm",
                                                     outputs() / "link.db",
                                                     outputs() / "hard.db",
                                                     outputs() / "wal-link",
                                                     outputs() / "data" / "quillet.db",
                                                     data / ".." / "quillet" / "quillet.db"};
    const auto folderContents = [&] {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(data)) {
            files[entry.path().filename().string()] = contents(entry.path());
        }
        return files;
    };
    const auto untouched = folderContents();
    for (const std::filesystem::path& way : ways) {
        const ToolRun run = tool(argsFor(way));
        EXPECT_EQ(run.status, 1) << way;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("the record store's own file"), std::string::npos)
            << way << ": " << run.err;
        EXPECT_EQ(folderContents(), untouched) << way;
    }
    EXPECT_EQ(tool({"--store", "--months", "12"}).status, 0);
}

TEST_P(OutputTarget, AFolderTheUserMayNotWriteOrThatIsMissingIsReportedAndLeftSo) {
    const std::filesystem::path missing = outputs() / "none" / GetParam().fileName;
    const ToolRun notThere = tool(argsFor(missing));
    ASSERT_EQ(::chmod(outputs().c_str(), 0500), 0);
    const ToolRun run = tool(argsFor(target()));
    ::chmod(outputs().c_str(), 0700);
    for (const auto& [failed, file] : {std::pair{run, target()}, {notThere, missing}}) {
        EXPECT_EQ(failed.status, 1);
        EXPECT_EQ(failed.out, "");
        EXPECT_TRUE(failed.err.starts_with("quillet-schedule: ")) << failed.err;
        EXPECT_NE(failed.err.find(file.string()), std::string::npos) << failed.err;
    }
    EXPECT_NE(run.err.find("Permission denied"), std::string::npos) << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(outputs()));
}

TEST_P(OutputTarget, ANameThatIsNotUtf8IsUsedAsItsBytes) {
    // Two names a conversion through text would both turn into "r\uFFFD\uFFFD.x".
    const std::string first = (outputs() / "r\xff\xfe.x").string();
    const std::string second = (outputs() / "r\xfe\xff.x").string();
    EXPECT_EQ(runTool(argsFor(first)).status, 0);
    EXPECT_EQ(runTool(argsFor(second)).status, 0);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(outputs())) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"r\xfe\xff.x", "r\xff\xfe.x"}));
    EXPECT_EQ(contents(first).rfind(GetParam().opening, 0), 0u);
}

class KilledWhileWriting : public OutputTarget {
protected:
    void SetUp() override {
        // A store large enough that copying it takes many writes.
        ASSERT_EQ(tool({"--store", "--months", "32767"}).status, 0);
        std::filesystem::create_directory(outputs());
    }

    // Runs the output and kills it once the folder has seen the given number of changes (or
    // lets it finish when it is done sooner).
    void killAfterChanges(int changes) {
        const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        ASSERT_GE(watch, 0);
        ASSERT_GE(::inotify_add_watch(watch, outputs().c_str(), IN_CREATE | IN_MODIFY), 0);
        ToolChild child(argsFor(target(), true), {store.folder()});
        int seen = 0;
        while (child.running() && seen < changes) {
            pollfd ready{watch, POLLIN, 0};
            ::poll(&ready, 1, 20);
            alignas(inotify_event) char buffer[4096];
            for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
                for (char* at = buffer; at < buffer + got; ++seen) {
                    at += sizeof(inotify_event) + reinterpret_cast<inotify_event*>(at)->len;
                }
            }
        }
        child.kill();
        child.wait();
        ::close(watch);
    }

    void expectNothingReadableByOthers(int changes) {
        for (const auto& entry : std::filesystem::directory_iterator(outputs())) {
            if (entry.path() == target()) {
                // Only ever a whole file under the name asked for.
                EXPECT_EQ(contents(entry.path()).rfind(GetParam().opening, 0), 0u);
                continue;
            }
            EXPECT_EQ(modeOf(entry.path()) & 077, 0u)
                << entry.path() << " killed after " << changes << " changes";
        }
    }
};

TEST_P(KilledWhileWriting, LeavesNothingOthersCanReadAndTheNextRunClearsIt) {
    for (const int changes : {1, 3, 20, 200}) {
        killAfterChanges(changes);
        expectNothingReadableByOthers(changes);
    }
    const ToolRun run = tool(argsFor(target(), true));
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<std::filesystem::path> left;
    for (const auto& entry : std::filesystem::directory_iterator(outputs())) {
        left.push_back(entry.path());
    }
    EXPECT_EQ(left, std::vector<std::filesystem::path>{target()});
    EXPECT_EQ(contents(target()).rfind(GetParam().opening, 0), 0u);
}

const auto kKindName = [](const ::testing::TestParamInfo<OutputKind>& kind) {
    return std::string(kind.param.option + 2);
};
INSTANTIATE_TEST_SUITE_P(EveryOutput, OutputTarget, ::testing::ValuesIn(kKinds), kKindName);
INSTANTIATE_TEST_SUITE_P(EveryOutput, KilledWhileWriting, ::testing::ValuesIn(kKinds), kKindName);

}  // namespace
}  // namespace quillet::testing
