// The program on office stores: a SQLite file through the SQLite ODBC driver and a PostgreSQL
// server through psqlODBC, each registered as "det" with the driver manager.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

#include "VekClass.h"
#include "engine/DataSource.h"
#include "store/engine/EngineContract.h"
#include "store/engine/OfficeStores.h"
#include "support/DeskCalculation.h"
#include "support/FakeControls.h"
#include "support/InProcessTool.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;

// Devanagari and an apostrophe in every text a family saves and finds again.
const std::string kName = "अनिल O'Brien";

class OfficeStore : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        if (GetParam() == "PostgresOdbc") {
            if (!registerFreshPostgres(m_home)) {
                GTEST_SKIP() << "no PostgreSQL server in this run";
            }
        } else {
            m_database = registerSqliteFile(m_home);
            createMissingTables(*openClassConnection());
        }
    }

    quillet::testing::TempStore m_home;
    std::filesystem::path m_database;  ///< the SQLite file, when that is the store
};

TEST_P(OfficeStore, ACalculateIsStoredThereAndTheEmbeddedStoreIsLeftAlone) {
    const ToolRun run =
        runTool({"--amount", "300000", "--months", "360", "--rate", "5", "--decimals", "2",
                 "--start", "2024-01-31", "--store", "--verbose"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("registered with the ODBC driver manager"));
    EXPECT_FALSE(std::filesystem::exists(embeddedDatabasePath()));

    auto con = openClassConnection();
    EXPECT_EQ(count(con, "EMI"), 360);
    auto rs = query(con, "select * from EMI order by SN asc");
    EXPECT_EQ(rs->Fields("OpeningBalance"), Variant(std::int32_t{300000}));
    EXPECT_EQ(rs->Fields("EMIDate"), Variant(Date{2024, 1, 31}));
    // Each month opens with the previous closing balance; the loan is repaid to the cent.
    const auto last = query(con, "select ClosingBalance, SN from EMI where SN = 360");
    EXPECT_NEAR(last->Fields(0).toDouble(), 0, 0.005);
    EXPECT_EQ(count(con,
                    "EMI a, EMI b where b.SN = a.SN + 1 and b.OpeningBalance <> "
                    "a.ClosingBalance"),
              0);
}

TEST_P(OfficeStore, CreateSchemaAddsOnlyTheMissingTables) {
    auto con = openClassConnection();
    run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    run(con, "DROP TABLE Visitor");
    con->Close();

    ToolRun run = runTool({"--create-schema"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Created 1 table: Visitor\n");
    run = runTool({"--create-schema"});
    EXPECT_EQ(run.out, "Every table of the default schema is present; nothing was changed.\n");

    con = openClassConnection();
    EXPECT_EQ(count(con, "EMI"), 1);
    EXPECT_EQ(count(con, "Visitor"), 0);
}

TEST_P(OfficeStore, EachRecordFamilySavesAndFindsTextInAnyScript) {
    VekClass vek;
    std::array<std::string, 15> personnel = {"Staff",  kName,   "12 Hill Rd", "Pune",  "020-1",
                                             "98-1",   "S-9",   "OUT",        "a@x",   "new",
                                             "Fitter", "Lathe", "P-7",        "North", "-"};
    std::string dob = "25/03/1970";
    auto& p = personnel;
    ASSERT_TRUE(vek.SavePersonnel(p[0], p[1], p[2], p[3], p[4], p[5], dob, p[6], p[7], p[8], p[9],
                                  p[10], p[11], p[12], p[13], p[14], 4, kName, "EmpDetail"));
    vek.FindPersonnelDetails("1");
    EXPECT_EQ(vek.NAME_, Variant(kName));
    EXPECT_EQ(vek.NameHindi_, kName);

    ASSERT_TRUE(vek.SaveVisitor("A", "B", kName, "1234", "D", "E", "F", "G", "05/03/2024",
                                "5-Mar-2024", "2024-03-31", "H", "98", kName, "J", "K", "WO-1",
                                "01/02/2024", "31/Dec/2024", "Visitor"));
    std::array<std::shared_ptr<FakeControl>, 19> c;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const bool picker = i == 9 || i == 10 || i == 17 || i == 18;
        c[i] = picker ? FakeControl::datePicker() : FakeControl::textBox("old");
    }
    vek.FindVisitDetails(1, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                         c[11], c[12], c[13], c[14], c[15], c[16], c[17], c[18]);
    EXPECT_EQ(c[2]->text(), kName);
    EXPECT_EQ(c[9]->value().toDate(), (Date{2024, 3, 5}));

    ASSERT_TRUE(
        vek.SaveMailRecord("F/1", "14/02/2024", "Pune", kName, "R", "IN", "O", "MailRecord"));
    vek.FindMailDetails("MailRecord", 1);
    EXPECT_EQ(vek.Subject, Variant(kName));

    ASSERT_TRUE(vek.SaveMedicalRecord("M/1", "01/03/2024", "77", kName, "S-1", "1500.5", "",
                                      1200.25, kName, "MedicalRecord"));
    std::vector<std::shared_ptr<FakeControl>> m;
    for (int i = 0; i < 9; ++i) {
        m.push_back(i == 1 || i == 6 ? FakeControl::datePicker() : FakeControl::textBox("old"));
    }
    vek.FindNedicalDetails("MedicalRecord", 1, m[0], m[1], m[2], m[3], m[4], m[5], m[6], m[7],
                           m[8]);
    EXPECT_EQ(m[3]->text(), kName);
    EXPECT_EQ(m[5]->text(), "1500.5");

    vek.SaveCable("C-1", kName, "", "", "", "", kName, "Cable");
    vek.FindDetails("CableNum", "C-1", "Cable");
    EXPECT_EQ(vek.ConnDesc_, Variant(kName));
    EXPECT_EQ(vek.Remarks_, kName);
}

TEST_P(OfficeStore, TwoDesksSavingAtOnceNeverShareASerialNorLoseARow) {
    std::vector<std::string> saves;
    for (int i = 0; i < 500; ++i) {
        saves.insert(saves.end(), {"save", "Save " + std::to_string(i)});
    }
    std::vector<ToolChild> desks;
    for (int desk = 0; desk < 2; ++desk) {
        desks.emplace_back(saves, ChildSetup{.program = "quillet-office-desk"});
    }
    for (ToolChild& desk : desks) {
        const ToolRun run = desk.wait();
        EXPECT_EQ(run.status, 0) << "failed saves: " << run.err;
    }
    auto con = openClassConnection();
    EXPECT_EQ(count(con, "MailRecord"), 1000);
    EXPECT_EQ(scalar(con, "select count(*) from (select distinct SN from MailRecord) s"),
              Variant(std::int32_t{1000}));
}

TEST_P(OfficeStore, TwoDesksCalculatingAtOnceEachSeeTheirOwnLoanAndLeaveOneWholeSchedule) {
    odbc::releaseIdleSessions();  // each desk opens its own connections
    expectDesksTakeTurns(20);
}

// Each office store has a backup of its own kind, which the tool names instead of copying.
TEST_P(OfficeStore, BackupRefusesNamingTheDataSourceAndTheStoresOwnTool) {
    const std::filesystem::path copy = m_home.folder() / "copy.db";
    const ToolRun run = runTool({"--backup", copy.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("quillet-schedule: "));
    EXPECT_THAT(run.err, HasSubstr("'det'"));
    EXPECT_THAT(run.err,
                HasSubstr(m_database.empty() ? "pg_dump"
                                             : "sqlite3 " + m_database.string() + " \".backup"));
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(embeddedDataFolder()));
}

INSTANTIATE_TEST_SUITE_P(Backends, OfficeStore, ::testing::Values("SqliteOdbc", "PostgresOdbc"),
                         [](const auto& param) { return param.param; });

}  // namespace
}  // namespace quillet::testing
