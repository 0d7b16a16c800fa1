// The record-store contract through Connection and Recordset, run against every engine.

#include <gtest/gtest.h>

#include "runtime/Date.h"
#include "store/engine/EngineContract.h"

namespace quillet::testing {

namespace {

EngineUnderTest embeddedStore() {
    return {"Embedded", [](quillet::testing::TempStore&) {
                return std::string("DSN=det;userID= Admin;Password= 09octvel");
            }};
}

constexpr const char* kEmiRow = "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)";

}  // namespace

INSTANTIATE_TEST_SUITE_P(Engines, EngineContract, ::testing::Values(embeddedStore()),
                         [](const auto& param) { return param.param.name; });

TEST_P(EngineContract, NullAndEmptyTextStayDistinctAndTextComparesWithoutCase) {
    auto con = connect();
    createProbe(con);
    for (const char* row :
         {"1,'',#01/Jan/2024#,1.5,''", "2,Null,Null,Null,Null", "3,'O''Brien',#01/Jan/2024#,1.5,2",
          "4,#05/03/2024#,#01/Jan/2024#,1.5,2"}) {
        run(con, "insert into Probe values(" + std::string(row) + ")");
    }
    EXPECT_EQ(firstColumn(con, "select Name from Probe order by SN"),
              (std::vector<Variant>{Variant(""), Variant::null(), Variant("O'Brien"),
                                    Variant("05/03/2024")}));
    // An empty text is no number: a number column takes it as Null, neither 0 nor text.
    EXPECT_TRUE(scalar(con, "select Code from Probe where SN = 1").isNull());
    EXPECT_EQ(count(con, "Probe where Name = ''"), 1);
    EXPECT_EQ(count(con, "probe where NAME = 'o''brien'"), 1);
}

TEST_P(EngineContract, DatesGoInAsAcceptedFormsAndTextThatIsNoDateOrNumberWritesNothing) {
    auto con = connect();
    createProbe(con);
    for (const char* row :
         {"1,'a',#01/Jan/2024#", "2,'b','25/03/1970'", "3,'c',''", "4,'d','1999-12-31'"}) {
        run(con, "insert into Probe values(" + std::string(row) + ",0,0)");
    }
    EXPECT_EQ(firstColumn(con, "select Born from Probe order by SN"),
              (std::vector<Variant>{Variant(Date{2024, 1, 1}), Variant(Date{1970, 3, 25}),
                                    Variant::null(), Variant(Date{1999, 12, 31})}));
    // A date literal compares with stored dates in either written form.
    EXPECT_EQ(count(con, "Probe where Born = #25/Mar/1970#"), 1);
    EXPECT_EQ(count(con, "Probe where Born > #31/12/1999#"), 1);

    EXPECT_EQ(
        raisedBy([&] { run(con, "insert into Probe values(5,'e','abc',0,0)"); }).description(),
        "Data type mismatch in criteria expression.");
    // An update is refused whole: the valid assignment beside the bad one is not made either.
    EXPECT_EQ(failureOf(con, "UPDATE Probe SET Name = 'changed', Born = 'abc' WHERE SN = 1"),
              err::StoreTypeMismatch);
    EXPECT_EQ(scalar(con, "select Name from Probe where SN = 1"), Variant("a"));
    EXPECT_EQ(failureOf(con, "insert into Probe values(6,'f','',0,'12x')"), err::StoreTypeMismatch);
    // 2958466 is the day after 31/12/9999: a number is a date only inside the calendar.
    EXPECT_EQ(failureOf(con, "insert into Probe values(7,'g',2958466,0,0)"),
              err::StoreTypeMismatch);
    run(con, "insert into Probe values(8,'h',2958465.5,0,0)");
    EXPECT_EQ(scalar(con, "select Born from Probe where SN = 8"),
              Variant(Date{9999, 12, 31, 12, 0, 0}));
    EXPECT_EQ(count(con, "Probe"), 5);
}

TEST_P(EngineContract, NumbersKeepTheirMagnitude) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(5000000000,'',#01/Jan/2024#,6102.05,2147483647)");
    run(con, "insert into Probe values(-2147483649,'',#01/Jan/2024#,'12.5','7')");
    // Beyond the double range is no number, quoted or in a shape already seen: never infinity.
    EXPECT_EQ(failureOf(con, "UPDATE Probe SET Amount = '1e400'"), err::StoreTypeMismatch);
    // The same shape as the inserts above, so a statement cache cannot skip the check either.
    EXPECT_NE(failureOf(con, "insert into Probe values(3,'',#01/Jan/2024#,1e400,7)"), 0);
    EXPECT_EQ(count(con, "Probe"), 2);

    EXPECT_EQ(firstColumn(con, "select SN from Probe order by SN"),
              (std::vector<Variant>{-2147483649.0, 5000000000.0}));
    EXPECT_EQ(firstColumn(con, "select Amount from Probe order by SN"),
              (std::vector<Variant>{12.5, 6102.05}));
    EXPECT_EQ(firstColumn(con, "select Code from Probe order by SN"),
              (std::vector<Variant>{std::int32_t{7}, std::int32_t{2147483647}}));
    EXPECT_TRUE(scalar(con, "select max(SN) from Probe where SN > 1e12").isNull());
}

TEST_P(EngineContract, FailingStatementsCarryOurNumberAndTheEngineDescription) {
    auto con = connect();
    run(con, kEmiRow);
    RuntimeError e = raisedBy([&] { run(con, "selec * from EMI"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("syntax error"), std::string::npos) << e.description();
    EXPECT_EQ(e.sqlState(), "42000");

    e = raisedBy([&] { run(con, "select * from NoSuchTable"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("NoSuchTable"), std::string::npos) << e.description();
    // A second statement smuggled into the text is refused, not run.
    EXPECT_EQ(failureOf(con, "select * from EMI; delete from EMI"), err::StoreError);
    // The connection stays usable after a failure.
    EXPECT_EQ(count(con, "EMI"), 1);
}

TEST_P(EngineContract, ARecordsetWalksEveryRowOnceAndFindsFieldsByNameInAnyCase) {
    auto con = connect();
    for (int sn = 1; sn <= 3; ++sn) {
        run(con, "insert into EMI (SN, EMIDate) values(" + std::to_string(sn) + ", #01/Jan/2024#)");
    }
    EXPECT_EQ(firstColumn(con, "select SN from EMI order by SN desc"),
              (std::vector<Variant>{std::int32_t{3}, std::int32_t{2}, std::int32_t{1}}));
    auto rs = query(con, "select SN, EMIDate from EMI order by SN");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Fields("emidATE"), Variant(Date{2024, 1, 1}));
    EXPECT_EQ(raisedBy([&] { rs->Fields("Born"); }).number(), err::StoreItemNotFound);
    EXPECT_EQ(raisedBy([&] { rs->Fields(2); }).number(), err::StoreItemNotFound);

    auto empty = query(con, "select SN from EMI where SN > 10");
    EXPECT_TRUE(empty->Eof() && empty->Bof());
    EXPECT_EQ(raisedBy([&] { empty->Fields(0); }).number(), err::StoreNoCurrentRecord);
}

TEST_P(EngineContract, ObjectsRefuseWhatTheirStateForbidsAndClientSideRowsOutliveTheConnection) {
    Recordset server;
    RuntimeError e = raisedBy([&] { (void)server.Eof(); });
    EXPECT_EQ(e.number(), err::StoreObjectClosed);
    EXPECT_EQ(e.description(), "Operation is not allowed when the object is closed.");
    EXPECT_EQ(raisedBy([&] {
                  server.Open("select * from EMI", std::make_shared<Connection>());
              }).number(),
              err::StoreInvalidConnection);

    auto con = connect();
    EXPECT_EQ(raisedBy([&] { con->Open(); }).number(), err::StoreObjectOpen);
    server.Open(kEmiRow, con);  // no rows: the recordset stays closed
    EXPECT_EQ(server.State(), kStateClosed);
    server.Open("select * from EMI", con);

    Recordset client;
    client.setCursorLocation(kUseClient);
    client.setActiveConnection(con);
    client.Open("select * from EMI order by SN asc", nullptr, kOpenUnspecified);
    con->Close();
    EXPECT_EQ(raisedBy([&] { (void)server.Eof(); }).number(), err::StoreObjectClosed);
    ASSERT_EQ(client.State(), kStateOpen);
    EXPECT_EQ(client.Fields("EMIDate"), Variant(Date{2024, 1, 1}));
}

TEST_P(EngineContract, TransactionsCommitOrRollBack) {
    auto con = connect();
    con->BeginTrans();
    run(con, kEmiRow);
    con->RollbackTrans();
    EXPECT_EQ(count(con, "EMI"), 0);

    con->BeginTrans();
    run(con, kEmiRow);
    con->CommitTrans();
    EXPECT_EQ(count(con, "EMI"), 1);

    // A transaction left open when the connection closes does not take effect.
    con->BeginTrans();
    run(con, "Delete * from EMI");
    con->Close();
    con->Open();
    EXPECT_EQ(count(con, "EMI"), 1);
}

TEST_P(EngineContract, AddingSeveralColumnsIsAllOrNothing) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe (SN) values(1)");

    // The second column already exists, so neither is added; inside a caller's transaction the
    // failed statement is undone alone and the work before it goes on.
    con->BeginTrans();
    run(con, "insert into Probe (SN) values(2)");
    EXPECT_EQ(failureOf(con, "alter TABLE Probe  add column Extra text (20),Name Integer"),
              err::StoreError);
    con->CommitTrans();
    EXPECT_EQ(count(con, "Probe"), 2);
    EXPECT_EQ(failureOf(con, "select Extra from Probe"), err::StoreError);

    run(con, "alter TABLE Probe  add column Extra text (20),Count2 Integer ");
    run(con, "UPDATE Probe SET Extra = 'x', Count2 = '5' WHERE SN = 1");
    EXPECT_EQ(scalar(con, "select Count2 from Probe where SN = 1"), Variant(std::int32_t{5}));
}

TEST_P(EngineContract, AlteringAColumnKeepsRowsAndGovernsEveryConnectionsNextWrite) {
    auto con = connect();
    auto other = connect();
    createProbe(con);
    run(other, "insert into Probe values(1,'Alice',#01/Jan/2024#,1.5,2)");
    run(con, "insert into Probe values(2,'12',#02/Jan/2024#,2.5,3)");

    run(con, "alter TABLE Probe Alter column Name text (101)  ;");
    auto rs = query(con, "select * from Probe order by SN");
    EXPECT_EQ(rs->FieldName(1), "Name");
    EXPECT_EQ(rs->Fields("Name"), Variant("Alice"));
    EXPECT_EQ(rs->Fields("Born"), Variant(Date{2024, 1, 1}));
    EXPECT_EQ(count(con, "Probe where Name = 'ALICE'"), 1);

    // A type changed on one connection governs what the other writes next.
    // A date text is no number: the other connection must see the new type to take it.
    run(con, "alter TABLE Probe Alter column Code DATE");
    run(other, "UPDATE Probe SET Code = '25/03/1970' WHERE SN = 1");
    EXPECT_EQ(scalar(other, "select Code from Probe where SN = 1"), Variant(Date{1970, 3, 25}));
    EXPECT_EQ(failureOf(con, "alter TABLE Probe Alter column Nothing text (5)"), err::StoreError);
    EXPECT_EQ(count(con, "Probe"), 2);
}

// A name in brackets is the same table or column: its values are bound by the columns' types
// just as for the bare name (a day-first date text into a date column, a number text into a
// number column).
TEST_P(EngineContract, BracketedNamesFindTheirTableAndColumnsAndBindAsTheBareNamesDo) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into [Probe] values(1,'Zoë','25/03/1970',1.5,'7')");
    run(con, "UPDATE [Probe] SET Born = '26/03/1970', Code = '8', [Amount] = 2.5 WHERE [SN] = 1");
    EXPECT_EQ(scalar(con, "select Born from Probe where SN = 1"), Variant(Date{1970, 3, 26}));
    EXPECT_EQ(scalar(con, "select Code from Probe where SN = 1"), Variant(std::int32_t{8}));
    EXPECT_EQ(scalar(con, "select [Amount] from Probe order by [SN] asc"), Variant(2.5));
    EXPECT_EQ(scalar(con, "select [Name] from [Probe] where [Name] = 'zoë'"), Variant("Zoë"));
    EXPECT_EQ(failureOf(con, "insert into [Probe] values(2,'b','no date',0,0)"),
              err::StoreTypeMismatch);
    EXPECT_EQ(count(con, "Probe"), 1);
}

}  // namespace quillet::testing
