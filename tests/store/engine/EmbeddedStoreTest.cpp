// The built-in data source "det": where its file lives, what a new store holds and how it fails.
// Writers sharing the file are covered through the record class (records/, durability/).

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "store/engine/EngineContract.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {

namespace {

constexpr const char* kDefaultConnection = "DSN=det;userID= Admin;Password= 09octvel";

std::filesystem::path storeFile(const TempStore& store) {
    return store.folder() / "quillet" / "quillet.db";
}

}  // namespace

TEST(EmbeddedStore, IsCreatedInThePrivateDataFolderWithIsoDatesAndAWriteAheadLog) {
    TempStore home;
    auto con = openDefaultStore();
    ASSERT_TRUE(std::filesystem::exists(storeFile(home)));
    struct stat info {};
    ASSERT_EQ(::stat(storeFile(home).parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // Dates are kept as ISO text, so they sort and compare as dates; writers keep a log ahead.
    run(con, "insert into EMI values(1,1000,5,6,994,#31/Jan/2024#)");
    EXPECT_EQ(scalar(con, "select EMIDate || '' from EMI"), Variant("2024-01-31"));
    EXPECT_EQ(scalar(con, "pragma journal_mode"), Variant("wal"));
}

TEST(EmbeddedStore, AlteringAColumnKeepsTheTablesIndexesAndConstraints) {
    TempStore home;
    auto con = openDefaultStore();
    run(con, "CREATE TABLE Kept (SN NUMBER NOT NULL, Name TEXT(20), Note TEXT(5) DEFAULT 'n/a')");
    run(con, "CREATE INDEX KeptByName ON Kept (Name)");
    run(con, "insert into Kept (SN, Name) values(1,'a')");
    run(con, "CREATE TABLE KeptLog (SN NUMBER)");
    run(con,
        "CREATE TRIGGER KeptLogged AFTER INSERT ON Kept BEGIN "
        "INSERT INTO KeptLog VALUES (NEW.SN); END");

    run(con, "alter TABLE Kept Alter column Note text (50)");
    // The trigger was made again on the rebuilt table: it still fires.
    run(con, "insert into Kept (SN, Name) values(2,'c')");
    EXPECT_EQ(scalar(con, "select count(*) from KeptLog where SN = 2"), Variant(std::int32_t{1}));
    EXPECT_EQ(scalar(con, "select count(*) from sqlite_master where name = 'KeptByName'"),
              Variant(std::int32_t{1}));
    EXPECT_EQ(scalar(con, "select Note from Kept where SN = 1"), Variant("n/a"));
    EXPECT_EQ(failureOf(con, "insert into Kept (Name) values('b')"), err::StoreError);
    EXPECT_EQ(scalar(con, "select type from pragma_table_info('Kept') where name = 'Note'"),
              Variant("TEXT(50)"));
}

// A junk file or a blocking file in the data folder is covered through the program that opens
// the store (app/cli, store/ConnectionTest).
TEST(EmbeddedStore, OpenFailsWithAClearDescription) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"DSN=payroll;userID= Admin;Password= x", "Data source name not found: 'payroll'"},
        {kDefaultConnection, "cannot be opened"}};
    for (const auto& [connection, says] : cases) {
        TempStore home;
        // A folder where the store's file should be.
        std::filesystem::create_directories(storeFile(home));
        Connection con;
        const RuntimeError e = raisedBy([&] { con.Open(connection); });
        EXPECT_EQ(e.number(), err::StoreConnectFailed);
        EXPECT_NE(e.description().find(says), std::string::npos) << e.description();
        EXPECT_EQ(con.State(), kStateClosed);
    }
    TempStore home;
    Connection upper;
    upper.Open("DSN=DET;UID=someone;PWD=x");
    EXPECT_EQ(upper.State(), kStateOpen);
}

}  // namespace quillet::testing
