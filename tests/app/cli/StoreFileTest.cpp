// What the tool leaves in the store's folder: quillet.db alone holds the schedule once the tool
// has exited, and --backup writes a copy that holds it too.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/ToolProcess.h"
#include "cli/ScheduleTool.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

// The schedule rows in a database file read on its own: "rows/last SN", or the engine's error.
std::string scheduleIn(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* statement = nullptr;
    std::string found;
    if (sqlite3_prepare_v2(db, "SELECT count(*) || '/' || max(SN) FROM EMI", -1, &statement,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        found = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    } else {
        found = sqlite3_errmsg(db);
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return found;
}

int runToolProcess(const TempStore& store, const std::vector<std::string>& args) {
    return testing::runToolProcess(args, {store.folder(), {}, {}}).status;
}

TEST(StoreFile, AfterTheToolExitsTheDatabaseFileAloneHoldsTheSchedule) {
    TempStore store;
    ASSERT_EQ(runToolProcess(store, {"--store", "--months", "36"}), 0);
    const std::filesystem::path copy = store.folder() / "alone.db";
    std::filesystem::copy_file(store.folder() / "quillet" / "quillet.db", copy);
    EXPECT_EQ(scheduleIn(copy), "36/36");
}

TEST(StoreFile, BackupWritesACopyOfTheStoreOrSaysWhyNot) {
    TempStore store;
    ASSERT_EQ(runToolProcess(store, {"--store", "--months", "24"}), 0);

    const std::filesystem::path copy = store.folder() / "backup.db";
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runScheduleTool({"--backup", copy.string()}, out, err), 0);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(scheduleIn(copy), "24/24");

    const std::string unwritable = (store.folder() / "missing" / "backup.db").string();
    EXPECT_EQ(runScheduleTool({"--backup", unwritable}, out, err), 1);
    EXPECT_EQ(out.str(), "");
    EXPECT_EQ(err.str().rfind("quillet-schedule: The store cannot be backed up: ", 0), 0u)
        << err.str();
}

}  // namespace
}  // namespace quillet::testing
