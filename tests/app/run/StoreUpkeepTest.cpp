// The store over many Calculates: the WAL stays bounded, the database file alone holds the
// schedule once the program is done, and a store held by another writer is reported as busy.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdlib>
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

using Database = std::unique_ptr<sqlite3, decltype(&sqlite3_close_v2)>;

Database openRaw(const std::filesystem::path& file) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(file.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    return {raw, &sqlite3_close_v2};
}

ScheduleInputs months(const char* count) {
    return {"1000000", count, "6", "2", Date{2024, 1, 1}};
}

// What the window does after the rewrite: read the schedule back on a connection of its own.
ScheduleRunHooks readBack() {
    return {{}, {}, [] { countRows("EMI"); }, {}};
}

class StoreUpkeep : public ::testing::Test {
protected:
    TempStore store;
    std::filesystem::path file() const { return store.folder() / "quillet" / "quillet.db"; }
};

TEST_F(StoreUpkeep, ManyCalculatesOnTheirOwnConnectionsKeepTheWalUnderItsBound) {
    // Each of these writes some 100 kB to the WAL: 120 of them would leave 12 MB in a WAL that
    // never starts over.
    const std::filesystem::path wal = file().string() + "-wal";
    const auto calculate = [&](const char* count) {
        const ScheduleRunOutcome outcome = runScheduleToStore(months(count), readBack());
        EXPECT_FALSE(outcome.failed) << outcome.errorDescription;
        return std::filesystem::file_size(wal);
    };
    for (int i = 0; i < 34; ++i) {
        calculate("1500");
    }
    // A very large schedule on top of them takes the WAL past its 4 MB bound; once the WAL
    // starts over the file must be cut back to the bound, not kept at its largest size.
    const std::uintmax_t afterLarge = calculate("32767");
    std::uintmax_t largest = 0;
    for (int i = 0; i < 86; ++i) {
        const std::uintmax_t size = calculate("1500");
        largest = std::max(largest, i >= 2 ? size : 0);
    }
    EXPECT_GT(afterLarge, (4u << 20) + (256u << 10));
    EXPECT_LE(largest, (4u << 20) + (128u << 10));
    EXPECT_EQ(countRows("EMI"), 1500);
}

// Every schedule row in a copy of the database file alone, without its WAL.
int rowsInFileAlone(const std::filesystem::path& file, const std::filesystem::path& copy) {
    std::filesystem::copy_file(file, copy);
    int count = -1;
    const auto read = [](void* to, int, char** values, char**) {
        *static_cast<int*>(to) = std::atoi(values[0]);
        return 0;
    };
    sqlite3_exec(openRaw(copy).get(), "SELECT count(*) FROM EMI", read, &count, nullptr);
    return count;
}

TEST_F(StoreUpkeep, TheDatabaseFileAloneHoldsTheScheduleOnceTheProgramIsDone) {
    ASSERT_FALSE(runScheduleToStore(months("48"), readBack()).failed);
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
    EXPECT_EQ(rowsInFileAlone(file(), store.folder() / "first.db"), 48);
}

TEST_F(StoreUpkeep, AStoreHeldByAnotherWriterIsReportedBusyAndKeepsItsSchedule) {
    ASSERT_FALSE(runScheduleToStore(months("12"), readBack()).failed);
    const Database other = openRaw(file());
    ASSERT_EQ(sqlite3_exec(other.get(), "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);

    const ScheduleRunOutcome outcome = runScheduleToStore(months("24"), readBack());
    sqlite3_exec(other.get(), "ROLLBACK", nullptr, nullptr, nullptr);

    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.errorDescription, sqlite::SqliteSession::kBusyDescription);
    EXPECT_EQ(store.shown().at(0).prompt, sqlite::SqliteSession::kBusyDescription);
    EXPECT_EQ(countRows("EMI"), 12);
}

TEST_F(StoreUpkeep, TwoDesksCalculatingAtOnceEachSeeTheirOwnLoanAndLeaveOneWholeSchedule) {
    countRows("EMI");  // the store exists before the desks race to it
    expectDesksTakeTurns(20);
}

}  // namespace
}  // namespace quillet::testing
