// A backup of the embedded store taken while another connection keeps rewriting it.

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "engine/DataSource.h"
#include "engine/sqlite/DatabaseBackup.h"
#include "store/engine/EngineContract.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {

namespace {

constexpr int kRowsPerSchedule = 200;

// Rewrites the schedule in one transaction: every committed state holds kRowsPerSchedule rows
// of one generation.
void rewrite(const std::shared_ptr<Connection>& con, int generation) {
    con->BeginTrans();
    run(con, "delete * from EMI");
    for (int sn = 1; sn <= kRowsPerSchedule; ++sn) {
        run(con, "insert into EMI values(" + std::to_string(sn) + "," + std::to_string(generation) +
                     ",0,0,0,#01/01/2024#)");
    }
    con->CommitTrans();
}

}  // namespace

TEST(StoreBackup, ACopyTakenWhileAnotherConnectionWritesIsOneWholeStateAndStandsAlone) {
    TempStore home;
    rewrite(openDefaultStore(), 0);
    std::atomic<bool> stop{false};
    std::atomic<int> generations{0};
    std::string failure;
    std::thread writer([&] {
        try {
            auto con = openDefaultStore();
            for (int g = 1; !stop; ++g) {
                rewrite(con, g);
                generations = g;
            }
        } catch (const RuntimeError& e) {
            failure = e.description();
        }
    });
    const int firstGeneration = generations;
    for (int i = 0; i < 8; ++i) {
        const std::filesystem::path copy = home.folder() / ("copy" + std::to_string(i) + ".db");
        ASSERT_NO_THROW(sqlite::backupDatabase(embeddedDatabasePath(), copy));
        EXPECT_FALSE(std::filesystem::exists(copy.string() + "-wal"));
        EXPECT_EQ(std::filesystem::status(copy).permissions() & std::filesystem::perms::all,
                  std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
        EXPECT_EQ(shell(copy, "PRAGMA integrity_check"), "ok\n");
        EXPECT_EQ(shell(copy, "PRAGMA journal_mode"), "delete\n");
        EXPECT_EQ(shell(copy, "SELECT count(*) || '/' || count(DISTINCT OpeningBalance) FROM EMI"),
                  std::to_string(kRowsPerSchedule) + "/1\n")
            << "copy " << i;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(failure, "");
    EXPECT_GT(generations, firstGeneration) << "the writer never ran during the backups";
}

TEST(StoreBackup, RefusesToCopyTheStoreOntoItself) {
    TempStore home;
    openDefaultStore();
    const RuntimeError e =
        raisedBy([] { sqlite::backupDatabase(embeddedDatabasePath(), embeddedDatabasePath()); });
    EXPECT_NE(e.description().find("the record store's own file"), std::string::npos)
        << e.description();
    EXPECT_EQ(quillet::testing::countRows("EMI"), 0);
}

}  // namespace quillet::testing
