// The built-in data source "det": where its file lives, what a new store holds, how it fails,
// and how two connections to it share the file.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <set>
#include <thread>

#include "engine/Connection.h"
#include "engine/DataSource.h"
#include "engine/EngineContract.h"
#include "engine/Recordset.h"
#include "engine/TempDataHome.h"

namespace quillet::test {

namespace {

constexpr const char* kDefaultConnection = "DSN=det;userID= Admin;Password= 09octvel";

std::shared_ptr<Connection> openDefault() {
    auto connection = std::make_shared<Connection>();
    connection->setConnectionString(kDefaultConnection);
    connection->Open();
    return connection;
}

void run(const std::shared_ptr<Connection>& connection, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, connection, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
}

Variant scalar(const std::shared_ptr<Connection>& connection, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, connection, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

std::vector<std::string> columnsOf(const std::shared_ptr<Connection>& connection,
                                   const std::string& table) {
    Recordset rs;
    rs.Open("select * from " + table, connection);
    std::vector<std::string> names;
    for (int i = 0; i < rs.FieldCount(); ++i) {
        names.push_back(rs.FieldName(i));
    }
    return names;
}

// Reads one text value straight from the file, past the record-store layer.
std::string rawText(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    sqlite3_stmt* statement = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
    std::string text;
    if (sqlite3_step(statement) == SQLITE_ROW && sqlite3_column_text(statement, 0) != nullptr) {
        text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return text;
}

}  // namespace

TEST(EmbeddedStore, LivesInThePrivateDataFolderAndStartsWithTheDefaultSchema) {
    TempDataHome home;
    auto con = openDefault();
    ASSERT_TRUE(std::filesystem::exists(home.storeFile()));
    EXPECT_EQ(embeddedDatabasePath(), home.storeFile());
    struct stat info {};
    ASSERT_EQ(::stat(home.storeFile().parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    EXPECT_EQ(columnsOf(con, "EMI"),
              (std::vector<std::string>{"SN", "OpeningBalance", "Interest", "Principal",
                                        "ClosingBalance", "EMIDate"}));
    const auto employee = columnsOf(con, "EmpDetail");
    ASSERT_EQ(employee.size(), 23u);
    EXPECT_EQ(employee[7], "Datex");
    EXPECT_EQ(employee[21], "code");
    EXPECT_EQ(employee[22], "NameHindi");
    EXPECT_EQ(columnsOf(con, "Appointment").size(), 15u);
    EXPECT_EQ(columnsOf(con, "Visitor").size(), 20u);
    EXPECT_EQ(columnsOf(con, "MailRecord").size(), 8u);
    for (const char* table : {"MedicalRecord", "MedicalRecordHindi", "MedicalRecordHindiName"}) {
        EXPECT_EQ(columnsOf(con, table).size(), 10u) << table;
    }
    EXPECT_EQ(columnsOf(con, "Cable").size(), 8u);
    EXPECT_EQ(columnsOf(con, "CableStatus").size(), 4u);

    // Every table the purge empties is there, under the names it uses.
    for (const char* table : {"Appointment",
                              "Cable",
                              "CableDetail",
                              "CABLES",
                              "CableStatus",
                              "CategoryTable",
                              "DOCUMENT",
                              "EmpDetail",
                              "Employeelist",
                              "ITEMDETAIL",
                              "Leavex",
                              "PARTNUMBER",
                              "PROJECT_CODES",
                              "pur",
                              "RemAdvance",
                              "SHIP_CODES",
                              "StatusItem",
                              "System_",
                              "WDR",
                              "wherex",
                              "WireDetail",
                              "WireNumber",
                              "WorkAhead",
                              "WorkDetail",
                              "MailRecord",
                              "MedicalRecord",
                              "MedicalRecordHindi",
                              "MedicalRecordHindiName",
                              "Visitor",
                              "SalaryTable",
                              "PersonEmployed",
                              "Gangaway",
                              "DOCUMENTFile",
                              "Customercodes",
                              "CopyOfWDR"}) {
        EXPECT_NO_THROW(run(con, std::string("Delete * from ") + table)) << table;
    }
    for (const char* table :
         {"HolidayTable", "ManPower", "transactiontable", "bank", "cash", "CHARGES"}) {
        EXPECT_NO_THROW(run(con, std::string("select * from ") + table)) << table;
    }
    // The accounting upgrade still has its work to do on a new store.
    EXPECT_EQ(scalar(con,
                     "select count(*) from sqlite_master where name in ('BILLTABLETY', "
                     "'TYASSETNEW', 'TYLIABILITYNEW', 'BALANCESHEETNoW', 'LEDGERACCOUNT')"),
              Variant(std::int32_t{0}));
    EXPECT_EQ(raisedBy([&] { run(con, "select REM1 from bank"); }).number(), err::StoreError);
    run(con, "alter TABLE bank  add column REM1 text (200),REM2 Integer ");
    run(con, "alter TABLE HolidayTable Alter column REMARK text (101)  ;");
    // ...while the employee upgrade finds its columns present and changes nothing.
    EXPECT_EQ(raisedBy([&] {
                  run(con, "alter TABLE EmpDetail  add column Code Integer ,NameHindi text (100)");
              }).number(),
              err::StoreError);
    EXPECT_EQ(columnsOf(con, "EmpDetail").size(), 23u);
}

TEST(EmbeddedStore, DatesAreStoredAsIsoText) {
    TempDataHome home;
    auto con = openDefault();
    run(con, "insert into EMI values(1,1000,5,6,994,#31/Jan/2024#)");
    run(con, "insert into MailRecord values(1,'F','05/03/2024','P','S','R','In','')");
    con->Close();
    EXPECT_EQ(rawText(home.storeFile(), "select EMIDate from EMI"), "2024-01-31");
    EXPECT_EQ(rawText(home.storeFile(), "select Date_ from MailRecord"), "2024-03-05");
    EXPECT_EQ(rawText(home.storeFile(), "pragma journal_mode"), "wal");
}

TEST(EmbeddedStore, AlteringAColumnKeepsTheTablesIndexesAndConstraints) {
    TempDataHome home;
    auto con = openDefault();
    run(con, "CREATE TABLE Kept (SN NUMBER NOT NULL, Name TEXT(20), Note TEXT(5) DEFAULT 'n/a')");
    run(con, "CREATE INDEX KeptByName ON Kept (Name)");
    run(con, "insert into Kept (SN, Name) values(1,'a')");

    run(con, "alter TABLE Kept Alter column Note text (50)");
    run(con, "alter TABLE Kept Alter column SN Integer");
    EXPECT_EQ(scalar(con, "select count(*) from sqlite_master where name = 'KeptByName'"),
              Variant(std::int32_t{1}));
    EXPECT_EQ(scalar(con, "select Note from Kept"), Variant("n/a"));
    EXPECT_EQ(raisedBy([&] { run(con, "insert into Kept (Name) values('b')"); }).number(),
              err::StoreError);
    EXPECT_EQ(scalar(con, "select count(*) from sqlite_master where name like 'quillet%'"),
              Variant(std::int32_t{0}));
    EXPECT_EQ(rawText(home.storeFile(),
                      "select type from pragma_table_info('Kept') where "
                      "name = 'Note'"),
              "TEXT(50)");
}

TEST(EmbeddedStore, KeepsItsRowsFromOneConnectionToTheNext) {
    TempDataHome home;
    {
        auto con = openDefault();
        run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
        con->Close();
    }
    auto con = openDefault();
    EXPECT_EQ(scalar(con, "select count(*) from EMI"), Variant(std::int32_t{1}));
}

TEST(EmbeddedStore, NamesTheDataSourceWithoutRegardToCaseAndRefusesOthers) {
    TempDataHome home;
    Connection upper;
    upper.Open("DSN=DET;UID=someone;PWD=x");
    EXPECT_EQ(upper.State(), kStateOpen);

    Connection unknown;
    RuntimeError e = raisedBy([&] { unknown.Open("DSN=payroll;userID= Admin;Password= x"); });
    EXPECT_EQ(e.number(), err::StoreConnectFailed);
    EXPECT_NE(e.description().find("payroll"), std::string::npos) << e.description();
    EXPECT_EQ(unknown.State(), kStateClosed);
    Connection unnamed;
    EXPECT_EQ(raisedBy([&] { unnamed.Open(""); }).number(), err::StoreConnectFailed);
}

TEST(EmbeddedStore, AFileThatIsNotAStoreIsReportedAndLeftAlone) {
    TempDataHome home;
    std::filesystem::create_directories(home.storeFile().parent_path());
    const std::string content = "these are not the records you are looking for\n";
    std::ofstream(home.storeFile()) << content;

    Connection con;
    RuntimeError e = raisedBy([&] { con.Open(kDefaultConnection); });
    EXPECT_EQ(e.number(), err::StoreConnectFailed);
    EXPECT_NE(e.description().find(home.storeFile().string()), std::string::npos);
    EXPECT_NE(e.description().find("not a database"), std::string::npos) << e.description();
    EXPECT_EQ(con.State(), kStateClosed);

    std::ifstream in(home.storeFile());
    const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(after, content);
}

TEST(EmbeddedStore, AFolderThatCannotBeMadeIsReported) {
    TempDataHome home;
    const auto blocker = home.root() / "plain-file";
    std::ofstream(blocker) << "x";
    home.setDataHome((blocker / "below").string());

    Connection con;
    RuntimeError e = raisedBy([&] { con.Open(kDefaultConnection); });
    EXPECT_EQ(e.number(), err::StoreConnectFailed);
    EXPECT_NE(e.description().find("cannot be created"), std::string::npos) << e.description();
    EXPECT_EQ(con.State(), kStateClosed);
}

TEST(EmbeddedStore, FallsBackToTheHomeFolderWithoutAnAbsoluteDataHome) {
    TempDataHome home;
    const auto expected = home.root() / "home" / ".local" / "share" / "quillet";
    home.setDataHome(std::nullopt);
    EXPECT_EQ(embeddedDataFolder(), expected);
    home.setDataHome("relative/data");
    EXPECT_EQ(embeddedDataFolder(), expected);
    home.setDataHome("");
    EXPECT_EQ(embeddedDataFolder(), expected);

    auto con = openDefault();
    EXPECT_TRUE(std::filesystem::exists(expected / "quillet.db"));
}

TEST(EmbeddedStore, ASecondWriterWaitsForTheFirst) {
    TempDataHome home;
    auto first = openDefault();
    auto second = openDefault();
    first->BeginTrans();
    run(first, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");

    std::atomic<bool> done{false};
    std::string failure;
    std::thread writer([&] {
        try {
            run(second, "insert into EMI values(2,994,5,6,988,#01/Feb/2024#)");
        } catch (const RuntimeError& e) {
            failure = e.description();
        }
        done = true;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_FALSE(done) << "the second writer did not wait for the first";
    // Readers are not held up by the open write transaction.
    EXPECT_EQ(scalar(openDefault(), "select count(*) from EMI"), Variant(std::int32_t{0}));
    first->CommitTrans();
    writer.join();
    EXPECT_EQ(failure, "");
    EXPECT_EQ(scalar(first, "select count(*) from EMI"), Variant(std::int32_t{2}));
}

TEST(EmbeddedStore, WritersInTransactionsNeverTakeTheSameSerial) {
    TempDataHome home;
    openDefault();  // creates the store before the writers race
    constexpr int kPerWriter = 40;
    auto writer = [&](std::string& failure) {
        try {
            auto con = openDefault();
            for (int i = 0; i < kPerWriter; ++i) {
                con->BeginTrans();
                const Variant top = scalar(con, "select max(SN) from Cable");
                const long next = top.isNull() ? 1 : top.toLong() + 1;
                run(con, "insert into Cable values(" + std::to_string(next) +
                             ",'C','D','P','B','T','S','R')");
                con->CommitTrans();
            }
        } catch (const RuntimeError& e) {
            failure = e.description();
        }
    };
    std::string failureA;
    std::string failureB;
    std::thread a(writer, std::ref(failureA));
    std::thread b(writer, std::ref(failureB));
    a.join();
    b.join();
    EXPECT_EQ(failureA, "");
    EXPECT_EQ(failureB, "");

    auto con = openDefault();
    EXPECT_EQ(scalar(con, "select count(*) from Cable"), Variant(std::int32_t{2 * kPerWriter}));
    EXPECT_EQ(scalar(con, "select count(distinct SN) from Cable"),
              Variant(std::int32_t{2 * kPerWriter}));
}

}  // namespace quillet::test
