// The data folder holds every record: it is the user's own and nobody else's, however it was
// found and whatever the umask.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/cli/ToolProcess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

class DataFolder : public ::testing::Test {
protected:
    ProcessRun tool(std::optional<mode_t> umask = {}) {
        return runToolProcess({"--store", "--months", "12"}, {home(), {}, {}}, umask);
    }
    // XDG_DATA_HOME: a folder everybody may write in, as a shared one is.
    std::filesystem::path home() const { return store.folder() / "shared"; }
    std::filesystem::path data() const { return home() / "quillet"; }
    void SetUp() override {
        std::filesystem::create_directory(home());
        ::chmod(home().c_str(), 01777);
    }
    void requireRoot() {
        if (::geteuid() != 0) {
            GTEST_SKIP() << "making files of another user needs root";
        }
    }
    void expectRefused(const ProcessRun& run, const std::string& reason) {
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("The data folder '" + data().string() + "' " + reason),
                  std::string::npos)
            << run.err;
    }

    testing::TempStore store;
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
    requireRoot();
    std::filesystem::create_directory(data());
    ::chmod(data().c_str(), 0777);
    ASSERT_EQ(::chown(data().c_str(), kAnotherUser, kAnotherUser), 0);
    expectRefused(tool(), "belongs to another user");
    EXPECT_TRUE(std::filesystem::is_empty(data()));
}

TEST_F(DataFolder, ALinkIsFollowedOnlyWhenTheLinkAndItsFolderAreBothTheUsers) {
    requireRoot();
    const std::filesystem::path theirs = store.folder() / "theirs";
    std::filesystem::create_directory(theirs);
    ::chmod(theirs.c_str(), 0777);
    ASSERT_EQ(::chown(theirs.c_str(), kAnotherUser, kAnotherUser), 0);
    std::filesystem::create_directory_symlink(theirs, data());
    expectRefused(tool(), "leads to a folder of another user");
    EXPECT_TRUE(std::filesystem::is_empty(theirs));

    std::filesystem::remove(data());
    const std::filesystem::path ours = store.folder() / "ours";
    std::filesystem::create_directory(ours);
    std::filesystem::create_directory_symlink(ours, data());
    ASSERT_EQ(::lchown(data().c_str(), kAnotherUser, kAnotherUser), 0);
    expectRefused(tool(), "is a link made by another user");
    EXPECT_TRUE(std::filesystem::is_empty(ours));

    ASSERT_EQ(::lchown(data().c_str(), ::geteuid(), ::getegid()), 0);
    EXPECT_EQ(tool().status, 0);
    EXPECT_TRUE(std::filesystem::exists(ours / "quillet.db"));
}

}  // namespace
}  // namespace quillet::testing
