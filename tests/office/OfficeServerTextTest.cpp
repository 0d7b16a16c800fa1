// The PostgreSQL office store checked from the server's side with psql: text kept as typed and
// found with one meaning, desks setting up the schema at once, and a backup that is the server's.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include <unistd.h>

#include "VekClass.h"
#include "schema/SchemaCreation.h"
#include "store/engine/EngineContract.h"
#include "store/engine/OfficeStores.h"
#include "support/FakeControls.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// What psql prints, unaligned and without headings, for one statement on a database of the test
// server, by default the one "det" names.
std::string psql(const std::string& sql,
                 const std::string& database = std::getenv("QUILLET_TEST_PGDATABASE")) {
    return commandOutput(
        std::string("PGPASSWORD=09octvel PGCLIENTENCODING=UTF8 psql -X -q -At -h 127.0.0.1 -p ") +
        std::getenv("QUILLET_TEST_PGPORT") + " -U Admin -d " + database + " -c \"" + sql +
        "\" 2>&1");
}

// An odbc.ini whose "det" is the test server's LATIN1 database.
std::filesystem::path latin1Registration(const std::filesystem::path& folder) {
    const std::string database = std::getenv("QUILLET_TEST_PGDATABASE");
    const std::filesystem::path ini = folder / "latin1.ini";
    std::string entry = "[det]\n" + *postgresServer();
    entry.replace(entry.find("Database=" + database),
                  std::string("Database=").size() + database.size(),
                  std::string("Database=") + std::getenv("QUILLET_TEST_PGLATIN1"));
    std::ofstream(ini) << entry;
    return ini;
}

// Restarts the test server on its port; the sessions open on it are ended as a restart ends them.
void pgCtl(const std::string& command) {
    const char* pgCtl = std::getenv("QUILLET_TEST_PGCTL");
    ASSERT_NE(pgCtl, nullptr) << "the server script exports no pg_ctl";
    ASSERT_EQ(std::system((std::string(pgCtl) + " " + command + " >/dev/null 2>&1").c_str()), 0)
        << command;
}

// A desk whose locale says nothing of its character set: LANG and every LC_ variable unset.
const EnvironmentChanges kNoLocale = {{"LANG", std::nullopt},
                                      {"LC_ALL", std::nullopt},
                                      {"LC_CTYPE", std::nullopt},
                                      {"LANGUAGE", std::nullopt},
                                      {"LC_MESSAGES", std::nullopt}};

class OfficeServerText : public ::testing::Test {
protected:
    void SetUp() override {
        if (!registerFreshPostgres(m_home)) {
            GTEST_SKIP() << "no PostgreSQL server in this run";
        }
    }
    quillet::testing::TempStore m_home;
};

TEST_F(OfficeServerText, LikeAndEqualsMeanOnTheServerWhatTheyMeanEverywhere) {
    VekClass vek;
    vek.SaveCable("C-1", "a\\b", "", "", "", "", "", "Cable");
    vek.SaveCable("C-2", "ab", "", "", "", "", "", "Cable");
    vek.SaveCable("C-3", "Émile", "", "", "", "", "", "Cable");
    // Stored exactly as typed, backslash and accent included.
    EXPECT_EQ(psql("select conndesc from cable order by cablenum"), "a\\b\nab\nÉmile\n");

    auto list = std::make_shared<quillet::testing::FakeList>();
    vek.FillAsQuery("ConnDesc", "Cable", "ConnDesc", "asc", list, "\\b");
    EXPECT_EQ(list->items, std::vector<std::string>{"a\\b"});
    vek.FillAsQuery("ConnDesc", "Cable", "ConnDesc", "asc", list, "ÉMI");
    EXPECT_EQ(list->items, std::vector<std::string>{"Émile"});
    vek.FindDetails("ConnDesc", "émile", "Cable");
    EXPECT_EQ(vek.ConnDesc_, Variant("Émile"));
    // The server's own comparison agrees (citext under a UTF-8 character type).
    EXPECT_EQ(psql("select count(*) from cable where conndesc = 'émile'"), "1\n");
}

TEST_F(OfficeServerText, DesksCreatingTheSchemaAtOnceAllEndWithEveryTable) {
    const std::string tables = "select count(*) from pg_tables where schemaname = current_schema()";
    for (int round = 0; round < 3; ++round) {
        const std::string drop = psql(
            "select string_agg('drop table ' || quote_ident(tablename), '; ') from pg_tables "
            "where schemaname = current_schema()");
        psql(drop.substr(0, drop.find('\n')));
        ASSERT_EQ(psql(tables), "0\n");
        std::vector<ToolChild> desks;
        for (int desk = 0; desk < 4; ++desk) {
            desks.emplace_back(std::vector<std::string>{"--create-schema"});
        }
        int creators = 0;
        for (auto& desk : desks) {
            const ToolRun run = desk.wait();
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.err, "");
            creators += run.out.rfind("Created ", 0) == 0 ? 1 : 0;
        }
        EXPECT_EQ(creators, 1);
        EXPECT_EQ(psql(tables), std::to_string(defaultSchemaStatements().size()) + "\n");
    }
}

TEST_F(OfficeServerText, ServerNumbersComeBackAsTheirKindsAndAnotherSchemaDecidesNothing) {
    // A table of the same name in another schema, with other column types: a lookup of column
    // types that strays there would bind '007' as a number.
    psql("drop schema if exists other cascade");
    psql("create schema other; create table other.probe (sn text, name numeric, amount text)");
    auto con = openClassConnection();
    run(con, "CREATE TABLE Probe (SN NUMBER, Name TEXT(50), Amount DOUBLE)");
    run(con, "insert into Probe values(1,'007',1.5)");
    psql("insert into probe (sn, name, amount) values (7.000, '1e3', 5)");
    EXPECT_EQ(psql("select name from public.probe order by sn"), "007\n1e3\n");
    EXPECT_EQ(psql("select count(*) from other.probe"), "0\n");
    // Text that looks like a number comes back as text, whoever wrote it.
    EXPECT_EQ(firstColumn(con, "select Name from Probe order by SN"),
              (std::vector<Variant>{Variant("007"), Variant("1e3")}));

    auto rs = query(con, "select SN, Amount from Probe where SN > 1");
    // numeric 7.000 is a whole number; float8 5 is a Double.
    EXPECT_EQ(rs->Fields(0), Variant(std::int32_t{7}));
    EXPECT_EQ(rs->Fields(1).type(), Variant::Type::Double);
    EXPECT_EQ(rs->Fields(1), Variant(5.0));
    psql("drop schema other cascade");
}

TEST_F(OfficeServerText, TextThatLooksLikeANumberComesBackAsTextThroughEveryLookup) {
    // Written by the server itself, so that only the reading is under test.
    psql("insert into mailrecord (sn, fileno, place) values (1, '007', '0123')");
    psql("insert into empdetail (sn, name_, service_no) values (1, '0123', '007')");
    psql("insert into visitor (sn, staffno, name_) values (1, '0123', '007')");

    VekClass vek;
    EXPECT_EQ(vek.FindOneValue("select FileNo from MailRecord where SN = 1"), "007");
    auto list = std::make_shared<quillet::testing::FakeList>();
    vek.Fill("Place", "MailRecord", "Place", "asc", list);
    EXPECT_EQ(list->items, std::vector<std::string>{"0123"});
    vek.FillAsQuery("FileNo", "MailRecord", "FileNo", "asc", list, "07");
    EXPECT_EQ(list->items, std::vector<std::string>{"007"});

    vek.FindMailDetails("MailRecord", 1);
    EXPECT_EQ(vek.FileNo.type(), Variant::Type::String);
    EXPECT_EQ(vek.FileNo, Variant("007"));
    EXPECT_EQ(vek.Place, Variant("0123"));

    vek.FindPersonnelDetails("1");
    EXPECT_EQ(vek.SERVICE_No.type(), Variant::Type::String);
    EXPECT_EQ(vek.SERVICE_No, Variant("007"));
    EXPECT_EQ(vek.NAME_, Variant("0123"));

    std::array<std::shared_ptr<FakeControl>, 19> c;
    for (std::size_t i = 0; i < c.size(); ++i) {
        const bool picker = i == 9 || i == 10 || i == 17 || i == 18;
        c[i] = picker ? FakeControl::datePicker() : FakeControl::textBox("old");
    }
    vek.FindVisitDetails(1, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                         c[11], c[12], c[13], c[14], c[15], c[16], c[17], c[18]);
    EXPECT_EQ(c[2]->text(), "007");
    EXPECT_EQ(c[3]->text(), "0123");
}

TEST_F(OfficeServerText, EveryValueOfAManyRowResultComesBackWholeWhateverItsLength) {
    // Lengths 1 to 129 bytes in every position of the rows fetched together, Nulls among them,
    // and texts of two-byte characters; written by the server so that only the reading is under
    // test.
    psql("create table readback (id bigint, note text, amount numeric)");
    psql(
        "insert into readback select g, case when g % 5 = 0 then null when g % 7 = 0 then "
        "repeat(chr(233), g % 50) else repeat(chr(65 + g % 26), g % 130) end, "
        "(g * 1000003)::numeric / 100 from generate_series(1, 700) g");
    auto con = openClassConnection();
    const std::vector<Variant> notes = firstColumn(con, "select note from readback order by id");
    const std::vector<Variant> amounts =
        firstColumn(con, "select amount from readback order by id");
    ASSERT_EQ(notes.size(), 700u);
    ASSERT_EQ(amounts.size(), 700u);
    for (int g = 1; g <= 700; ++g) {
        std::string expected;
        for (int i = 0; i < (g % 7 == 0 ? g % 50 : g % 130); ++i) {
            expected += g % 7 == 0 ? std::string("\xC3\xA9") : std::string(1, 'A' + g % 26);
        }
        const auto row = static_cast<std::size_t>(g - 1);
        EXPECT_EQ(notes[row], g % 5 == 0 ? Variant::null() : Variant(expected)) << g;
        EXPECT_EQ(amounts[row].toString(), Variant(g * 1000003 / 100.0).toString()) << g;
    }
}

// Whole cents of a decimal text ("4516122.24", "5000", "4969.5"), without passing through a
// double.
long long centsOf(std::string text) {
    text = text.substr(0, text.find_last_not_of("\n") + 1);
    const std::size_t point = text.find('.');
    std::string fraction = point == std::string::npos ? "" : text.substr(point + 1);
    fraction.resize(2, '0');
    return std::stoll(text.substr(0, point)) * 100 + std::stoll(fraction);
}

TEST_F(OfficeServerText, StoredAmountsAreTheDecimalsPrintedAndTheServerSumsAgree) {
    const ToolRun run = runToolChild({"--store", "--decimals", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(psql("select principal::text from emi where sn = 1"), "6102.05\n");
    EXPECT_EQ(psql("select count(*) from emi where principal = 6102.05"), "1\n");
    // No amount keeps binary noise beyond the two decimals it was rounded to.
    EXPECT_EQ(psql("select count(*) from emi where interest <> round(interest, 2) or "
                   "principal <> round(principal, 2) or openingbalance <> round(openingbalance, 2) "
                   "or closingbalance <> round(closingbalance, 2)"),
              "0\n");

    // The printed schedule's interest and principal columns, summed in whole cents.
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);  // the heading
    long long interest = 0;
    long long principal = 0;
    int rows = 0;
    for (; std::getline(lines, line); ++rows) {
        std::istringstream fields(line);
        std::array<std::string, 4> cells;
        for (std::string& cell : cells) {
            std::getline(fields, cell, ',');
        }
        interest += centsOf(cells[2]);
        principal += centsOf(cells[3]);
    }
    EXPECT_EQ(rows, 120);
    EXPECT_EQ(centsOf(psql("select sum(interest)::text from emi")), interest);
    EXPECT_EQ(centsOf(psql("select sum(principal)::text from emi")), principal);
}

TEST_F(OfficeServerText, ARowTheServerRefusesMidBatchLeavesEveryRowBeforeIt) {
    // Month 1500 lies in the middle of the second batch of rows sent together.
    psql("alter table emi add constraint no_month_1500 check (sn <> 1500)");
    const ToolRun tool = runToolChild({"--store", "--months", "2400"});
    EXPECT_EQ(tool.status, 1);
    EXPECT_THAT(tool.err, HasSubstr("no_month_1500"));
    EXPECT_EQ(psql("select count(*), count(distinct sn), min(sn), max(sn) from emi"),
              "1499|1499|1|1499\n");
}

// Statements of one shape, with a column list in another order than the table's, texts that hold
// what separates values and rows, signed figures and a leap day.
TEST_F(OfficeServerText, RowsSentTogetherAreStoredExactlyAsWritten) {
    psql("create table together (id bigint, name text, amount numeric, day timestamp(0))");
    const auto row = [](const std::string& values) {
        return "insert into together (Day, Amount, Name, Id) values(" + values + ")";
    };
    auto con = openClassConnection();
    con->BeginTrans();
    run(con, "delete * from together");  // every row after it goes in the batch
    std::size_t ran = 0;
    con->ExecuteBatch({row("#01/Feb/2024#,6102.05,'O''Brien',1"),
                       row("#29/Feb/2024#,-0.1,'a,b)?',2"), row("#31/Dec/2024#,1000.5,'(?,?)',3"),
                       row("#01/Jan/2025#,+7,'',4"), row("#02/Jan/2025#,0.3,'x',5")},
                      ran);
    con->CommitTrans();
    EXPECT_EQ(ran, 5u);
    EXPECT_EQ(psql("select string_agg(id || ':' || name || ':' || amount || ':' || "
                   "to_char(day, 'YYYY-MM-DD'), ' ' order by id) from together"),
              "1:O'Brien:6102.05:2024-02-01 2:a,b)?:-0.1:2024-02-29 3:(?,?):1000.5:2024-12-31 "
              "4::7:2025-01-01 5:x:0.3:2025-01-02\n");
}

// Through the class's own objects: the batch's count of statements run stops at the one that
// fails, which fails as it does alone, and the rows before it are kept.
TEST_F(OfficeServerText, ABatchStopsAtAFailingStatementWithItsErrorAloneKeepingTheRowsBefore) {
    psql("alter table emi add constraint no_month_4 check (sn <> 4)");
    const auto emiRow = [](int sn, const std::string& tail = "#01/Jan/2024#)") {
        return "insert into EMI values(" + std::to_string(sn) + ",1000,5.5,6.25,994," + tail;
    };
    // A row the server refuses, one that holds a second statement after its own, one the
    // translation refuses.
    for (const auto& [bad, reason] : std::vector<std::pair<std::string, std::string>>{
             {emiRow(4), "no_month_4"},
             {emiRow(4, "#01/Jan/2024#);delete from EMI"), ""},
             {emiRow(4, "'unended)"), ""}}) {
        auto con = openClassConnection();
        const std::string alone = raisedBy([&] { run(con, bad); }).description();
        con->BeginTrans();
        run(con, "delete * from EMI");
        std::size_t ran = 0;
        const RuntimeError e = raisedBy([&] {
            con->ExecuteBatch({emiRow(1), emiRow(2), emiRow(3), bad, emiRow(5)}, ran);
        });
        con->CommitTrans();
        EXPECT_EQ(ran, 3u) << bad;
        EXPECT_EQ(e.description(), alone);
        EXPECT_THAT(e.description(), HasSubstr(reason));
        EXPECT_EQ(
            psql("select string_agg(sn::text || ':' || interest::text, ',' order by sn) from emi"),
            "1:5.5,2:5.5,3:5.5\n")
            << bad;
    }
}

TEST_F(OfficeServerText, ADeskKeptWaitingPastTheBusyLimitIsToldSoAndLosesNothing) {
    ASSERT_EQ(runToolChild({"--store", "--months", "12"}).status, 0);
    // Another desk's Calculate, as the server sees it, holding EMI for longer than Quillet waits.
    const std::string hold = std::string("PGPASSWORD=09octvel psql -X -q -h 127.0.0.1 -p ") +
                             std::getenv("QUILLET_TEST_PGPORT") + " -U Admin -d " +
                             std::getenv("QUILLET_TEST_PGDATABASE") +
                             " -c 'begin; lock table emi in exclusive mode; select pg_sleep(8); "
                             "commit;' >/dev/null 2>&1 &";
    ASSERT_EQ(std::system(hold.c_str()), 0);
    for (int tries = 0; tries < 100 && psql("select count(*) from pg_locks where relation = "
                                            "'emi'::regclass and mode = 'ExclusiveLock'") != "1\n";
         ++tries) {
        ::usleep(50'000);
    }
    const ToolRun waiting = runToolChild({"--store", "--months", "24"});
    EXPECT_EQ(waiting.status, 1);
    EXPECT_THAT(waiting.err, HasSubstr("The store is busy"));
    EXPECT_EQ(psql("select count(*), max(sn) from emi"), "12|12\n");
}

// A LATIN1 database, read from a file naming it "det" by a driver manager of the child's own.
TEST_F(OfficeServerText, ANarrowDatabaseIsRefusedASchemaAndTextItCannotHoldFailsWritingNothing) {
    const std::string latin1 = std::getenv("QUILLET_TEST_PGLATIN1");
    const std::string ini = latin1Registration(m_home.folder()).string();
    const ToolRun tool = runToolChild({"--create-schema"}, {.environment = {{"ODBCINI", ini}}});
    EXPECT_EQ(tool.status, 1);
    EXPECT_THAT(tool.err, HasSubstr("'det'"));
    EXPECT_THAT(tool.err, HasSubstr("LATIN1"));
    EXPECT_THAT(tool.err, HasSubstr("createdb --encoding=UTF8 --template=template0"));

    // Its administrator made the table by hand, as --create-schema will not.
    psql("drop table if exists personemployed", latin1);
    ASSERT_EQ(psql("create extension if not exists citext", latin1), "");
    const std::string copyTable =
        std::string(
            "PGPASSWORD=09octvel pg_dump --schema-only --no-owner --table=personemployed "
            "-h 127.0.0.1 -p ") +
        std::getenv("QUILLET_TEST_PGPORT") + " -U Admin " + std::getenv("QUILLET_TEST_PGDATABASE") +
        " | PGPASSWORD=09octvel psql -X -q -v ON_ERROR_STOP=1 -h 127.0.0.1 -p " +
        std::getenv("QUILLET_TEST_PGPORT") + " -U Admin -d " + latin1 + " >/dev/null";
    ASSERT_EQ(std::system(copyTable.c_str()), 0);
    ASSERT_EQ(psql("insert into personemployed (sn, name_, city) values (1, 'Ann', 'X')", latin1),
              "");

    // A desk without a locale: what the driver would choose from it must not decide the bytes.
    EnvironmentChanges desk = kNoLocale;
    desk["ODBCINI"] = ini;
    const ToolRun fits = runToolChild({"rename", "1", "Zoë"},
                                      {.environment = desk, .program = "quillet-office-desk"});
    EXPECT_EQ(fits.status, 0) << fits.err;
    EXPECT_EQ(
        psql("select name_ || ':' || length(name_) || ':' || city from personemployed", latin1),
        "Zoë:3:C\n");

    // The rename's trap shows the server's reason; the row keeps every column it had.
    const ToolRun refused = runToolChild({"rename", "1", "अनिल"},
                                         {.environment = desk, .program = "quillet-office-desk"});
    EXPECT_EQ(refused.status, 1) << refused.err;
    EXPECT_THAT(refused.err, HasSubstr("has no equivalent in encoding \"LATIN1\""));
    EXPECT_EQ(psql("select count(*), min(name_), min(city) from personemployed", latin1),
              "1|Zoë|C\n");
    psql("drop table personemployed", latin1);
}

TEST_F(OfficeServerText, ADeskWithoutALocaleStoresEveryScriptAsTyped) {
    const ToolRun desk = runToolChild({"save", "Zoë", "save", "अनिल"},
                                      {.environment = kNoLocale, .program = "quillet-office-desk"});
    EXPECT_EQ(desk.status, 0) << desk.err;
    EXPECT_EQ(psql("select subject_ || ':' || length(subject_) from mailrecord order by sn"),
              "Zoë:3\nअनिल:4\n");
}

TEST_F(OfficeServerText, ANoticeTheServerSendsAsASessionStartsCarriesTheToolsPrefix) {
    // A setting of the role that the server warns about on every connection, before the driver
    // has the session.
    psql("alter role \\\"Admin\\\" set default_text_search_config = 'pg_catalog.nosuch'");
    const ToolRun tool = runToolChild({"--store", "--months", "3"});
    psql("alter role \\\"Admin\\\" reset default_text_search_config");
    EXPECT_EQ(tool.status, 0) << tool.err;
    EXPECT_THAT(tool.err, HasSubstr("quillet-schedule: WARNING:  invalid value for parameter"));
    expectEveryLinePrefixed(tool.err);
    EXPECT_EQ(psql("select count(*) from emi"), "3\n");
}

TEST_F(OfficeServerText, AServerThatRefusesTheWriteIsNamedInTheFailure) {
    ASSERT_EQ(runToolChild({"--store", "--months", "12"}).status, 0);
    // A database its administrator made read-only (a standby, a frozen year).
    psql("alter role \\\"Admin\\\" set default_transaction_read_only = on");
    const ToolRun run = runToolChild({"--store", "--months", "24"});
    psql(
        "begin read write; alter role \\\"Admin\\\" reset default_transaction_read_only; "
        "commit");
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The data source 'det' cannot be written: "));
    EXPECT_THAT(run.err, HasSubstr("read-only transaction"));
    expectEveryLinePrefixed(run.err);
    EXPECT_EQ(psql("select count(*), max(sn) from emi"), "12|12\n");
}

// A restart ends every session: the program's kept one is replaced unseen, while a connection
// held open through it is told it was lost.
TEST_F(OfficeServerText, ARestartCostsAKeptSessionNothingAndAnOpenConnectionIsToldItWasLost) {
    VekClass vek;
    EXPECT_TRUE(vek.Executex("insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)"));
    EXPECT_EQ(vek.FindOneValue("select count(*) from EMI"), "1");
    auto con = openClassConnection();
    const std::size_t shown = m_home.messages->shown.size();
    pgCtl("restart -m fast");
    const RuntimeError e = raisedBy([&] { run(con, "delete * from EMI"); });
    EXPECT_THAT(e.description(), HasSubstr("connection to the data source 'det' was lost"));
    EXPECT_EQ(e.sqlState(), "08S01");
    EXPECT_EQ(vek.FindOneValue("select count(*) from EMI"), "1");
    EXPECT_TRUE(vek.Executex("insert into EMI values(2,994,5,6,988,#01/Feb/2024#)"));
    EXPECT_EQ(psql("select count(*) from emi"), "2\n");
    EXPECT_EQ(m_home.messages->shown.size(), shown);
}

TEST_F(OfficeServerText, AServerStoppedMidRunIsReportedAsLostNamingTheDataSource) {
    ASSERT_EQ(runToolChild({"--store", "--months", "12"}).status, 0);
    ToolChild longRun({"--store", "--months", "32767"});
    // The run's Calculate has its transaction open on the server.
    const std::string writing =
        "select count(*) from pg_stat_activity where usename = 'Admin' and pid <> pg_backend_pid() "
        "and xact_start is not null";
    for (int tries = 0; tries < 400 && psql(writing) != "1\n"; ++tries) {
        ::usleep(25'000);
    }
    pgCtl("stop -m fast");
    const ToolRun run = longRun.wait();
    pgCtl("start");
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("connection to the data source 'det' was lost"));
    expectEveryLinePrefixed(run.err);
    // The rewrite was one transaction: the schedule before it is whole.
    EXPECT_EQ(psql("select count(*), max(sn) from emi"), "12|12\n");
}

TEST_F(OfficeServerText, ARefusedLoginNamesTheCauseButNeverThePassword) {
    auto open = [](const std::string& connectionString) {
        return raisedBy([&] {
            Connection connection;
            connection.Open(connectionString);
        });
    };
    // The class's password reaches the server without the blank after '='.
    EXPECT_NO_THROW(openClassConnection());

    RuntimeError e = open("DSN=det;userID= Admin;Password= wrong-secret-77");
    EXPECT_EQ(e.number(), err::StoreConnectFailed);
    EXPECT_EQ(e.sqlState(), "08001");
    EXPECT_THAT(e.description(), HasSubstr("password authentication failed"));
    EXPECT_THAT(e.description(), Not(HasSubstr("wrong-secret-77")));

    // A password stored with the data source wins over the class's, right or wrong.
    registerDataSource(m_home, "stored",
                       *postgresServer() + "Username=Admin\nPassword=wr0ng;{x}\n");
    e = open("DSN=stored;userID= Admin;Password= 09octvel");
    EXPECT_THAT(e.description(), HasSubstr("password authentication failed"));
    EXPECT_THAT(e.description(), Not(HasSubstr("wr0ng")));
    EXPECT_THAT(e.description(), Not(HasSubstr("09octvel")));
}

}  // namespace
}  // namespace quillet::testing
