// The store over many Calculates: the WAL stays bounded, the database file alone holds the
// schedule once the program is done, and a store held by another writer is reported as busy.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "engine/sqlite/SqliteSession.h"
#include "engine/sqlite/StoreKeeper.h"
#include "run/ScheduleStoreRun.h"
#include "support/DeskCalculation.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using Database = std::unique_ptr<sqlite3, DatabaseCloser>;

Database openRaw(const std::filesystem::path& file) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    return Database(raw);
}

ScheduleInputs months(const char* count) {
    ScheduleInputs inputs;
    inputs.months = count;
    inputs.decimals = "2";
    return inputs;
}

// What the window does after the rewrite: read the schedule back on a connection of its own.
ScheduleRunHooks readBack() {
    ScheduleRunHooks hooks;
    hooks.refreshGrid = [] { countRows("EMI"); };
    return hooks;
}

class StoreUpkeep : public ::testing::Test {
protected:
    TempStore store;
    std::filesystem::path file() const { return store.folder() / "quillet" / "quillet.db"; }
    std::uintmax_t walSize() const {
        std::error_code missing;
        const auto size = std::filesystem::file_size(file().string() + "-wal", missing);
        return missing ? 0 : size;
    }
};

TEST_F(StoreUpkeep, ManyCalculatesOnTheirOwnConnectionsKeepTheWalUnderItsBound) {
    // Each of these writes some 100 kB to the WAL: 120 of them would leave 12 MB in a WAL that
    // never starts over.
    const auto calculate = [](const char* count) {
        const ScheduleRunOutcome outcome = runScheduleToStore(months(count), readBack());
        ASSERT_FALSE(outcome.failed) << outcome.errorDescription;
    };
    for (int i = 0; i < 34; ++i) {
        calculate("1500");
    }
    // A very large schedule on top of them takes the WAL past its 4 MB bound; once the WAL
    // starts over the file must be cut back to the bound, not kept at its largest size.
    calculate("32767");
    const std::uintmax_t afterLarge = walSize();
    std::uintmax_t largest = 0;
    for (int i = 0; i < 86; ++i) {
        calculate("1500");
        if (i >= 2) {
            largest = std::max(largest, walSize());
        }
    }
    EXPECT_GT(afterLarge, (4u << 20) + (256u << 10));
    EXPECT_LE(largest, (4u << 20) + (128u << 10));
    EXPECT_EQ(countRows("EMI"), 1500);
}

// Every schedule row in a copy of the database file alone, without its WAL.
int rowsInFileAlone(const std::filesystem::path& file, const std::filesystem::path& copy) {
    std::filesystem::copy_file(file, copy);
    const Database db = openRaw(copy);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.get(), "SELECT count(*) FROM EMI", -1, &statement, nullptr) !=
            SQLITE_OK ||
        sqlite3_step(statement) != SQLITE_ROW) {
        ADD_FAILURE() << sqlite3_errmsg(db.get());
        sqlite3_finalize(statement);
        return -1;
    }
    const int count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return count;
}

TEST_F(StoreUpkeep, TheDatabaseFileAloneHoldsTheScheduleOnceTheProgramIsDone) {
    ASSERT_FALSE(runScheduleToStore(months("48"), readBack()).failed);
    const std::filesystem::path first = file();
    {
        // The same program then works on a store in another folder: both are left whole.
        TempStore second;
        ASSERT_FALSE(runScheduleToStore(months("36"), readBack()).failed);
        const std::filesystem::path secondFile = second.folder() / "quillet" / "quillet.db";
        // Another program has the store open, idle; what happens as this one exits empties
        // the WAL all the same, not merely copies it back.
        const Database idle = openRaw(secondFile);
        ASSERT_EQ(sqlite3_exec(idle.get(), "SELECT count(*) FROM sqlite_master", nullptr, nullptr,
                               nullptr),
                  SQLITE_OK);
        sqlite::releaseStore();
        EXPECT_EQ(std::filesystem::file_size(secondFile.string() + "-wal"), 0u);
        EXPECT_EQ(rowsInFileAlone(secondFile, store.folder() / "second.db"), 36);
    }
    EXPECT_EQ(rowsInFileAlone(first, store.folder() / "first.db"), 48);
}

TEST_F(StoreUpkeep, AStoreHeldByAnotherWriterIsReportedBusyAndKeepsItsSchedule) {
    ASSERT_FALSE(runScheduleToStore(months("12"), readBack()).failed);
    const Database other = openRaw(file());
    ASSERT_EQ(sqlite3_exec(other.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    const ScheduleRunOutcome outcome = runScheduleToStore(months("24"), readBack());
    sqlite3_exec(other.get(), "ROLLBACK", nullptr, nullptr, nullptr);

    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.errorDescription, sqlite::SqliteSession::kBusyDescription);
    ASSERT_FALSE(store.shown().empty());
    EXPECT_EQ(store.shown().front().prompt, sqlite::SqliteSession::kBusyDescription);
    EXPECT_EQ(countRows("EMI"), 12);
}

TEST_F(StoreUpkeep, TwoDesksCalculatingAtOnceEachSeeTheirOwnLoanAndLeaveOneWholeSchedule) {
    countRows("EMI");  // the store exists before the desks race to it
    expectDesksTakeTurns(20);
}

}  // namespace
}  // namespace quillet::testing
