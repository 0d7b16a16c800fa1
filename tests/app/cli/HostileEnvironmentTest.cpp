#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/cli/ToolProcess.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

// Each case: the tool as its own process, in a data folder of its own, with file permissions
// holding for it.
class HostileEnvironment : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dataFolder()); }

    ProcessRun tool(const std::vector<std::string>& args, std::optional<rlim_t> limit = {}) {
        return runToolProcess(args, {store.folder(), limit, {}});
    }
    std::filesystem::path dataFolder() const { return store.folder() / "quillet"; }
    std::filesystem::path storeFile() const { return dataFolder() / "quillet.db"; }

    // A failed run: status 1, nothing on stdout, the file named with the cause on stderr.
    void expectStoreFailure(const ProcessRun& run, const std::string& cause) {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("'" + storeFile().string() + "'"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find(cause), std::string::npos) << run.err;
    }

    // Once the cause is gone, the next run stores its schedule.
    void expectRecovery(const std::string& months) {
        EXPECT_EQ(tool({"--store", "--months", months}).status, 0);
        EXPECT_EQ(testing::countRows("EMI"), std::stoi(months));
    }

    testing::TempStore store;
};

TEST_F(HostileEnvironment, AReadOnlyStoreFile) {
    ASSERT_EQ(tool({"--store", "--months", "12"}).status, 0);
    const std::string before = contents(storeFile());
    std::filesystem::permissions(storeFile(), std::filesystem::perms::owner_read);
    expectStoreFailure(tool({"--store", "--months", "24"}), "read-only (Permission denied)");
    EXPECT_EQ(contents(storeFile()), before);

    std::filesystem::permissions(storeFile(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
    expectRecovery("24");
}

TEST_F(HostileEnvironment, AnUnwritableDataFolder) {
    using std::filesystem::perms;
    std::filesystem::permissions(dataFolder(), perms::owner_read | perms::owner_exec);
    expectStoreFailure(tool({"--store"}),
                       "unable to open database file (Permission denied in the folder '" +
                           dataFolder().string() + "')");
    EXPECT_TRUE(std::filesystem::is_empty(dataFolder()));

    std::filesystem::permissions(dataFolder(), perms::owner_all);
    expectRecovery("6");
}

TEST_F(HostileEnvironment, AStoreFileThatIsNotADatabase) {
    const std::string text = "Loan notes, kept here by mistake.\n";
    std::ofstream(storeFile()) << text;
    const ProcessRun run = tool({"--store"});
    expectStoreFailure(run, "file is not a database");
    EXPECT_NE(run.err.find("Please select Database : remember.mdb and restart Application"),
              std::string::npos);
    EXPECT_EQ(contents(storeFile()), text);

    std::filesystem::remove(storeFile());
    expectRecovery("6");
}

TEST_F(HostileEnvironment, TheDiskFillsUpDuringACalculate) {
    ASSERT_EQ(tool({"--store", "--months", "12"}).status, 0);
    const std::string before = contents(storeFile());
    // Room for a few hundred rows more than the store holds now; the run needs thousands.
    std::uintmax_t largest = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dataFolder())) {
        largest = std::max(largest, entry.file_size());
    }
    expectStoreFailure(tool({"--store", "--months", "32767"}, largest + (64 << 10)),
                       "File too large");
    EXPECT_EQ(contents(storeFile()), before);
    EXPECT_EQ(testing::countRows("EMI"), 12);

    expectRecovery("32767");
}

TEST_F(HostileEnvironment, AFailedWriteToStdout) {
    const ProcessRun run =
        testing::runToolProcess({"--months", "3"}, {store.folder(), std::nullopt, "/dev/full"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "quillet-schedule: cannot write to standard output: No space left on device\n");
}

// What a library prints just before it aborts the process is held with the rest of its output:
// it must still reach standard error, each line with the tool's prefix, not die in the held file.
TEST_F(HostileEnvironment, ALibrarysLastWordsBeforeAnAbortReachStandardErrorWithThePrefix) {
    ProcessSetup setup{store.folder(), std::nullopt, {}, {"QT_QPA_PLATFORM=no-such-platform"}};
    const ProcessRun run = runToolProcess({"--pdf", (store.folder() / "r.pdf").string()}, setup);

    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("quillet-schedule: qt.qpa.plugin: Could not find the Qt platform "
                           "plugin \"no-such-platform\""),
              std::string::npos)
        << run.err;
    for (std::size_t at = 0; at < run.err.size(); at = run.err.find('\n', at) + 1) {
        EXPECT_EQ(run.err.compare(at, 18, "quillet-schedule: "), 0) << run.err.substr(at);
        if (run.err.find('\n', at) == std::string::npos) {
            break;
        }
    }
}

}  // namespace
}  // namespace quillet::testing
