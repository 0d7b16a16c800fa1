// What the tool leaves in the store's folder: quillet.db alone holds the schedule once the tool
// has exited, and --backup writes a copy that holds it too.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/InProcessTool.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

// The schedule rows in a database file read on its own: "rows/last SN", or the engine's error.
std::string scheduleIn(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string found;
    char* error = nullptr;
    const auto read = [](void* to, int, char** values, char**) {
        *static_cast<std::string*>(to) = values[0];
        return 0;
    };
    sqlite3_exec(db, "SELECT count(*) || '/' || max(SN) FROM EMI", read, &found, &error);
    found += error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    return found;
}

TEST(StoreFile, OnceTheToolHasExitedTheDatabaseFileAloneHoldsTheScheduleAndSoDoesABackup) {
    TempStore store;
    ASSERT_EQ(runToolChild({"--store", "--months", "36"}, {store.folder()}).status, 0);
    const std::filesystem::path alone = store.folder() / "alone.db";
    std::filesystem::copy_file(store.folder() / "quillet" / "quillet.db", alone);
    EXPECT_EQ(scheduleIn(alone), "36/36");

    const std::filesystem::path copy = store.folder() / "backup.db";
    const ToolRun backup = runTool({"--backup", copy.string()});
    EXPECT_EQ(backup.status, 0);
    EXPECT_EQ(backup.out + backup.err, "");
    EXPECT_EQ(scheduleIn(copy), "36/36");
}

// True when another process sees a lock on the engine's lock bytes of the shared-memory file.
bool othersSeeLocksOn(const std::filesystem::path& sharedMemory) {
    const pid_t child = ::fork();
    if (child == 0) {
        // The child only asks the kernel; it touches none of the parent's connections.
        const int fd = ::open(sharedMemory.c_str(), O_RDONLY);
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = 120;  // the WAL index's lock bytes, the read marks' among them
        probe.l_len = 16;
        const bool locked = fd >= 0 && ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
        ::_exit(locked ? 0 : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Each operation opens the store anew while other connections of the same program hold it:
// their locks must survive, or another program's checkpoint could empty the WAL under a reader.
TEST(StoreFile, OpeningTheStoreAgainKeepsTheLocksOfConnectionsAlreadyOpen) {
    TempStore store;
    ASSERT_EQ(runTool({"--store", "--months", "12"}).status, 0);
    const std::filesystem::path file = store.folder() / "quillet" / "quillet.db";
    sqlite3* reader = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &reader, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(reader, "BEGIN; SELECT count(*) FROM EMI", nullptr, nullptr, nullptr),
              SQLITE_OK);
    const std::filesystem::path sharedMemory = file.string() + "-shm";
    ASSERT_TRUE(othersSeeLocksOn(sharedMemory));

    ASSERT_EQ(runTool({"--store", "--months", "24"}).status, 0);
    EXPECT_TRUE(othersSeeLocksOn(sharedMemory));
    sqlite3_exec(reader, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(reader);
}

}  // namespace
}  // namespace quillet::testing
