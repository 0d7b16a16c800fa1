#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

// A refused run: status 1, nothing on stdout, and stderr saying each of the texts.
void expectRefused(const ToolRun& run, const std::vector<std::string>& said) {
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_EQ(run.out, "");
    for (const std::string& text : said) {
        EXPECT_NE(run.err.find(text), std::string::npos) << text << " in " << run.err;
    }
}

// Each case: the tool as its own process, in a data folder of its own, with file permissions
// holding for it.
class HostileEnvironment : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directory(dataFolder()); }

    ToolRun tool(const std::vector<std::string>& args, std::optional<rlim_t> limit = {}) {
        return runToolChild(args, {store.folder(), limit});
    }
    std::filesystem::path dataFolder() const { return store.folder() / "quillet"; }
    std::filesystem::path storeFile() const { return dataFolder() / "quillet.db"; }

    // A failed run names the file with the cause.
    void expectStoreFailure(const ToolRun& run, const std::string& cause) {
        expectRefused(run, {"'" + storeFile().string() + "'", cause});
    }

    // Once the cause is gone, the next run stores its schedule.
    void expectRecovery(const std::string& months) {
        EXPECT_EQ(tool({"--store", "--months", months}).status, 0);
        EXPECT_EQ(countRows("EMI"), std::stoi(months));
    }

    TempStore store;
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
    EXPECT_EQ(countRows("EMI"), 12);

    expectRecovery("32767");
}

TEST_F(HostileEnvironment, AFailedWriteToStdout) {
    const ToolRun run =
        runToolChild({"--months", "3"}, {store.folder(), std::nullopt, "/dev/full"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err,
              "quillet-schedule: cannot write to standard output: No space left on device\n");
}

// What a library prints just before it aborts the process is held with the rest of its output:
// it must still reach standard error, each line with the tool's prefix, not die in the held file.
TEST_F(HostileEnvironment, ALibrarysLastWordsBeforeAnAbortReachStandardErrorWithThePrefix) {
    const ChildSetup setup{.dataHome = store.folder(),
                           .environment = {{"QT_QPA_PLATFORM", "no-such-platform"}}};
    const ToolRun run = runToolChild({"--pdf", (store.folder() / "r.pdf").string()}, setup);

    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find("quillet-schedule: qt.qpa.plugin: Could not find the Qt platform "
                           "plugin \"no-such-platform\""),
              std::string::npos)
        << run.err;
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_TRUE(line.starts_with("quillet-schedule: ")) << line;
    }
}

// The data folder holds every record: it is the user's own and nobody else's, however it was
// found and whatever the umask.
class DataFolder : public ::testing::Test {
protected:
    ToolRun tool(std::optional<mode_t> umask = {}) {
        return runToolChild({"--store", "--months", "12"}, {.dataHome = home(), .umask = umask});
    }
    // XDG_DATA_HOME: a folder everybody may write in, as a shared one is.
    std::filesystem::path home() const { return store.folder() / "shared"; }
    std::filesystem::path data() const { return home() / "quillet"; }
    void SetUp() override {
        std::filesystem::create_directory(home());
        ::chmod(home().c_str(), 01777);
    }
    void expectRefusedFolder(const ToolRun& run, const std::string& reason) {
        expectRefused(run, {"The data folder '" + data().string() + "' " + reason});
    }

    TempStore store;
};

TEST_F(DataFolder, IsCreatedPrivateUnderAnyUmaskAndAnExistingOneOfTheUserIsMadePrivate) {
    const auto expectPrivate = [&] {
        EXPECT_EQ(modeOf(data()), 0700u);
        // The engine gives its WAL and shared-memory files the mode of the database file.
        ASSERT_TRUE(std::filesystem::exists(data() / "quillet.db"));
        for (const auto& entry : std::filesystem::directory_iterator(data())) {
            EXPECT_EQ(modeOf(entry.path()), 0600u) << entry.path();
        }
    };
    ASSERT_EQ(tool(0).status, 0);
    expectPrivate();
    ::chmod(data().c_str(), 0755);
    for (const auto& entry : std::filesystem::directory_iterator(data())) {
        ::chmod(entry.path().c_str(), 0644);
    }
    ASSERT_EQ(tool().status, 0);
    expectPrivate();
}

TEST_F(DataFolder, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making files of another user needs root";
    }
    std::filesystem::create_directory(data());
    ::chmod(data().c_str(), 0777);
    ASSERT_EQ(::chown(data().c_str(), kAnotherUser, kAnotherUser), 0);
    expectRefusedFolder(tool(), "belongs to another user");
    EXPECT_TRUE(std::filesystem::is_empty(data()));
}

TEST_F(DataFolder, ALinkIsFollowedOnlyWhenTheLinkAndItsFolderAreBothTheUsers) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "making files of another user needs root";
    }
    const std::filesystem::path theirs = store.folder() / "theirs";
    std::filesystem::create_directory(theirs);
    ::chmod(theirs.c_str(), 0777);
    ASSERT_EQ(::chown(theirs.c_str(), kAnotherUser, kAnotherUser), 0);
    std::filesystem::create_directory_symlink(theirs, data());
    expectRefusedFolder(tool(), "leads to a folder of another user");
    EXPECT_TRUE(std::filesystem::is_empty(theirs));

    std::filesystem::remove(data());
    const std::filesystem::path ours = store.folder() / "ours";
    std::filesystem::create_directory(ours);
    std::filesystem::create_directory_symlink(ours, data());
    ASSERT_EQ(::lchown(data().c_str(), kAnotherUser, kAnotherUser), 0);
    expectRefusedFolder(tool(), "is a link made by another user");
    EXPECT_TRUE(std::filesystem::is_empty(ours));

    ASSERT_EQ(::lchown(data().c_str(), ::geteuid(), ::getegid()), 0);
    EXPECT_EQ(tool().status, 0);
    EXPECT_TRUE(std::filesystem::exists(ours / "quillet.db"));
}

}  // namespace
}  // namespace quillet::testing
