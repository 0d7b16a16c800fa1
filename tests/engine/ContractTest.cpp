// The record-store contract through Connection and Recordset, run against every engine.

#include <gtest/gtest.h>

#include "engine/EngineContract.h"
#include "runtime/Date.h"

namespace quillet::test {

namespace {

EngineUnderTest embeddedStore() {
    return {"Embedded",
            [](TempDataHome&) { return std::string("DSN=det;userID= Admin;Password= 09octvel"); }};
}

}  // namespace

INSTANTIATE_TEST_SUITE_P(Engines, EngineContract, ::testing::Values(embeddedStore()),
                         [](const auto& param) { return param.param.name; });

TEST_P(EngineContract, NullAndEmptyTextStayDistinct) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'',#01/Jan/2024#,1.5,2)");
    run(con, "insert into Probe (SN) values(2)");
    run(con, "insert into Probe values(3,'O''Brien',#01/Jan/2024#,1.5,2)");

    auto rs = query(con, "select Name from Probe order by SN");
    EXPECT_EQ(rs->Fields(0), Variant(""));
    rs->MoveNext();
    EXPECT_TRUE(rs->Fields(0).isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant("O'Brien"));

    EXPECT_EQ(count(con, "Probe where Name = ''"), 1);
    EXPECT_EQ(count(con, "Probe where Name is null"), 1);
}

TEST_P(EngineContract, DatesGoInAsAcceptedFormsAndComeBackAsDates) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'a',#01/Jan/2024#,0,0)");
    run(con, "insert into Probe values(2,'b','25/03/1970',0,0)");
    run(con, "insert into Probe values(3,'c','',0,0)");
    run(con, "insert into Probe values(4,'d','1999-12-31',0,0)");

    auto rs = query(con, "select Born from Probe order by SN");
    EXPECT_EQ(rs->Fields(0), Variant(Date{2024, 1, 1}));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant(Date{1970, 3, 25}));
    rs->MoveNext();
    EXPECT_TRUE(rs->Fields(0).isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant(Date{1999, 12, 31}));

    // A date literal compares with stored dates in either written form.
    EXPECT_EQ(count(con, "Probe where Born = #25/Mar/1970#"), 1);
    EXPECT_EQ(count(con, "Probe where Born > #31/12/1999#"), 1);
}

TEST_P(EngineContract, TextThatIsNotADateIsRefusedAndNothingIsWritten) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'a',#01/Jan/2024#,0,0)");

    RuntimeError e = raisedBy([&] { run(con, "insert into Probe values(2,'b','abc',0,0)"); });
    EXPECT_EQ(e.number(), err::StoreTypeMismatch);
    EXPECT_EQ(e.description(), "Data type mismatch in criteria expression.");
    EXPECT_EQ(count(con, "Probe"), 1);

    e = raisedBy([&] { run(con, "UPDATE Probe SET Name = 'changed', Born = 'abc' WHERE SN = 1"); });
    EXPECT_EQ(e.number(), err::StoreTypeMismatch);
    auto rs = query(con, "select Name, Born from Probe");
    EXPECT_EQ(rs->Fields("Name"), Variant("a"));
    EXPECT_EQ(rs->Fields("Born"), Variant(Date{2024, 1, 1}));

    // Numbers refuse text that does not read as a number just the same.
    e = raisedBy([&] { run(con, "insert into Probe values(3,'c','',0,'12x')"); });
    EXPECT_EQ(e.number(), err::StoreTypeMismatch);
    EXPECT_EQ(count(con, "Probe"), 1);
}

TEST_P(EngineContract, NumbersKeepTheirMagnitude) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(5000000000,'',#01/Jan/2024#,6102.05,2147483647)");
    run(con, "insert into Probe values(-2147483649,'',#01/Jan/2024#,'12.5','7')");
    run(con, "insert into Probe values(3,'',#01/Jan/2024#,1e3,'')");

    auto rs = query(con, "select SN, Amount, Code from Probe order by SN");
    EXPECT_EQ(rs->Fields(0), Variant(-2147483649.0));
    EXPECT_EQ(rs->Fields(1), Variant(12.5));
    EXPECT_EQ(rs->Fields(2), Variant(std::int32_t{7}));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant(std::int32_t{3}));
    EXPECT_EQ(rs->Fields(1).toDouble(), 1000.0);
    EXPECT_TRUE(rs->Fields(2).isNull());
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant(5000000000.0));
    EXPECT_EQ(rs->Fields(1), Variant(6102.05));
    EXPECT_EQ(rs->Fields(2), Variant(std::int32_t{2147483647}));

    EXPECT_EQ(scalar(con, "select max(SN) from Probe"), Variant(5000000000.0));
    EXPECT_TRUE(scalar(con, "select max(SN) from Probe where SN > 1e12").isNull());
}

TEST_P(EngineContract, NumbersAndDatesWrittenToTextColumnsReadAsTheirText) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,1e3,#05/Mar/2024#,0,0)");
    run(con, "insert into Probe (SN, Name) values(2,#05/Mar/2024#)");
    auto rs = query(con, "select Name from Probe order by SN");
    EXPECT_EQ(rs->Fields(0), Variant("1000"));
    rs->MoveNext();
    EXPECT_EQ(rs->Fields(0), Variant("05/03/2024"));
}

TEST_P(EngineContract, FailingStatementsCarryOurNumberAndTheEngineDescription) {
    auto con = connect();
    RuntimeError e = raisedBy([&] { run(con, "selec * from EMI"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("syntax error"), std::string::npos) << e.description();
    EXPECT_EQ(e.sqlState(), "42000");
    EXPECT_NE(e.nativeCode(), 0);

    e = raisedBy([&] { run(con, "select * from NoSuchTable"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("NoSuchTable"), std::string::npos) << e.description();
    EXPECT_EQ(e.sqlState(), "42S02");

    // The connection stays usable after a failure.
    EXPECT_EQ(count(con, "EMI"), 0);
}

TEST_P(EngineContract, OnlyOneStatementRunsPerCall) {
    auto con = connect();
    run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    RuntimeError e = raisedBy([&] { run(con, "select * from EMI; delete from EMI"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_EQ(count(con, "EMI"), 1);
}

TEST_P(EngineContract, FieldsAreFoundByPositionOrByNameInAnyCase) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(7,'seven',#01/Jan/2024#,0,0)");
    auto rs = query(con, "select sn, Name from Probe");
    EXPECT_EQ(rs->FieldCount(), 2);
    EXPECT_EQ(rs->Fields("SN"), Variant(std::int32_t{7}));
    EXPECT_EQ(rs->Fields("nAmE"), Variant("seven"));
    EXPECT_EQ(rs->Fields(1), rs->Fields("name"));

    EXPECT_EQ(raisedBy([&] { rs->Fields("Born"); }).number(), err::StoreItemNotFound);
    RuntimeError e = raisedBy([&] { rs->Fields(2); });
    EXPECT_EQ(e.number(), err::StoreItemNotFound);
    EXPECT_EQ(e.description(),
              "Item cannot be found in the collection corresponding to the requested name or "
              "ordinal.");
    EXPECT_EQ(raisedBy([&] { rs->Fields(-1); }).number(), err::StoreItemNotFound);
}

TEST_P(EngineContract, TextComparesWithoutRegardToCase) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'Smith',#01/Jan/2024#,0,0)");
    EXPECT_EQ(count(con, "Probe where Name = 'SMITH'"), 1);
    EXPECT_EQ(count(con, "Probe where Name Like '%mit%'"), 1);
    EXPECT_EQ(count(con, "probe where NAME = 'smith'"), 1);
}

TEST_P(EngineContract, ARecordsetWalksEveryRowOnce) {
    auto con = connect();
    createProbe(con);
    for (int sn = 1; sn <= 3; ++sn) {
        run(con, "insert into Probe (SN) values(" + std::to_string(sn) + ")");
    }
    auto rs = query(con, "select SN from Probe order by SN desc");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_FALSE(rs->Bof());
    std::vector<int> seen;
    while (!rs->Eof()) {
        seen.push_back(rs->Fields(0).toLong());
        rs->MoveNext();
    }
    EXPECT_EQ(seen, (std::vector<int>{3, 2, 1}));

    RuntimeError e = raisedBy([&] { rs->Fields(0); });
    EXPECT_EQ(e.number(), err::StoreNoCurrentRecord);
    EXPECT_EQ(e.description(),
              "Either BOF or EOF is True, or the current record has been deleted. Requested "
              "operation requires a current record.");
    EXPECT_EQ(raisedBy([&] { rs->MoveNext(); }).number(), err::StoreNoCurrentRecord);

    rs->MoveFirst();
    EXPECT_EQ(rs->Fields(0).toLong(), 3);
    EXPECT_EQ(rs->valueAt(2, 0).toLong(), 1);

    auto empty = query(con, "select SN from Probe where SN > 10");
    EXPECT_EQ(empty->State(), kStateOpen);
    EXPECT_TRUE(empty->Eof());
    EXPECT_TRUE(empty->Bof());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(raisedBy([&] { empty->Fields(0); }).number(), err::StoreNoCurrentRecord);
}

TEST_P(EngineContract, StatementsWithoutRowsLeaveTheRecordsetClosed) {
    auto con = connect();
    Recordset rs;
    EXPECT_EQ(rs.State(), kStateClosed);
    rs.Open("insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)", con, kOpenKeyset, kLockReadOnly,
            kCmdUnspecified);
    EXPECT_EQ(rs.State(), kStateClosed);
    EXPECT_EQ(count(con, "EMI"), 1);

    rs.Open("Delete * from EMI", con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    EXPECT_EQ(rs.State(), kStateClosed);
    EXPECT_EQ(count(con, "EMI"), 0);
}

TEST_P(EngineContract, ClosedAndOpenObjectsRefuseWhatTheyCannotDo) {
    Recordset rs;
    RuntimeError e = raisedBy([&] { (void)rs.Eof(); });
    EXPECT_EQ(e.number(), err::StoreObjectClosed);
    EXPECT_EQ(e.description(), "Operation is not allowed when the object is closed.");
    EXPECT_EQ(raisedBy([&] { rs.Close(); }).number(), err::StoreObjectClosed);
    EXPECT_EQ(raisedBy([&] { rs.Fields("SN"); }).number(), err::StoreObjectClosed);
    EXPECT_EQ(raisedBy([&] { (void)rs.RecordCount(); }).number(), err::StoreObjectClosed);

    e = raisedBy([&] { rs.Open("select * from EMI", nullptr); });
    EXPECT_EQ(e.number(), err::StoreInvalidConnection);
    EXPECT_EQ(e.description(),
              "The connection cannot be used to perform this operation. It is either closed or "
              "invalid in this context.");
    auto closedConnection = std::make_shared<Connection>();
    EXPECT_EQ(raisedBy([&] { rs.Open("select * from EMI", closedConnection); }).number(),
              err::StoreInvalidConnection);
    EXPECT_EQ(raisedBy([&] { closedConnection->Close(); }).number(), err::StoreObjectClosed);
    EXPECT_EQ(raisedBy([&] { closedConnection->BeginTrans(); }).number(), err::StoreObjectClosed);

    auto con = connect();
    EXPECT_EQ(con->State(), kStateOpen);
    e = raisedBy([&] { con->Open(); });
    EXPECT_EQ(e.number(), err::StoreObjectOpen);
    EXPECT_EQ(e.description(), "Operation is not allowed when the object is open.");
    EXPECT_EQ(con->State(), kStateOpen);

    rs.Open("select * from EMI", con);
    EXPECT_EQ(raisedBy([&] { rs.Open("select * from EMI", con); }).number(), err::StoreObjectOpen);
    rs.Close();
    EXPECT_EQ(rs.State(), kStateClosed);
    con->Close();
    EXPECT_EQ(con->State(), kStateClosed);
}

TEST_P(EngineContract, ServerSideRowsCloseWithTheirConnectionClientSideRowsStay) {
    auto con = connect();
    run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    Recordset server;
    server.Open("select * from EMI", con);
    Recordset client;
    client.setCursorLocation(kUseClient);
    client.setActiveConnection(con);
    client.Open("select * from EMI order by SN asc", nullptr, kOpenUnspecified);

    con->Close();
    EXPECT_EQ(server.State(), kStateClosed);
    EXPECT_EQ(raisedBy([&] { (void)server.Eof(); }).number(), err::StoreObjectClosed);
    ASSERT_EQ(client.State(), kStateOpen);
    EXPECT_EQ(client.RecordCount(), 1);
    EXPECT_EQ(client.Fields("EMIDate"), Variant(Date{2024, 1, 1}));

    // Reopening the connection does not bring old server-side rows back.
    con->Open();
    EXPECT_EQ(server.State(), kStateClosed);
}

TEST_P(EngineContract, TransactionsCommitOrRollBack) {
    auto con = connect();
    con->BeginTrans();
    run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    EXPECT_EQ(count(con, "EMI"), 1);
    con->RollbackTrans();
    EXPECT_EQ(count(con, "EMI"), 0);

    con->BeginTrans();
    run(con, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    con->CommitTrans();
    EXPECT_EQ(count(con, "EMI"), 1);

    // A transaction left open when the connection closes does not take effect.
    con->BeginTrans();
    run(con, "Delete * from EMI");
    con->Close();
    con->Open();
    EXPECT_EQ(count(con, "EMI"), 1);

    con->tryRollback();  // nothing open: no effect, no error
    con->BeginTrans();
    run(con, "Delete * from EMI");
    con->tryRollback();
    EXPECT_EQ(count(con, "EMI"), 1);
}

TEST_P(EngineContract, AddingSeveralColumnsIsAllOrNothing) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe (SN) values(1)");

    // The second column already exists, so neither is added.
    RuntimeError e =
        raisedBy([&] { run(con, "alter TABLE Probe  add column Extra text (20),Name Integer"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_EQ(raisedBy([&] { run(con, "select Extra from Probe"); }).number(), err::StoreError);

    // Inside a caller's transaction the failed statement is undone alone; the transaction and
    // the work before it go on.
    con->BeginTrans();
    run(con, "insert into Probe (SN) values(2)");
    EXPECT_EQ(raisedBy([&] {
                  run(con, "alter TABLE Probe  add column Extra text (20),SN Integer");
              }).number(),
              err::StoreError);
    con->CommitTrans();
    EXPECT_EQ(count(con, "Probe"), 2);
    EXPECT_EQ(raisedBy([&] { run(con, "select Extra from Probe"); }).number(), err::StoreError);

    run(con, "alter TABLE Probe  add column Extra text (20),Count2 Integer ");
    run(con, "UPDATE Probe SET Extra = 'x', Count2 = '5' WHERE SN = 1");
    auto rs = query(con, "select * from Probe");
    ASSERT_EQ(rs->FieldCount(), 7);
    EXPECT_EQ(rs->FieldName(5), "Extra");
    EXPECT_EQ(rs->Fields("Count2"), Variant(std::int32_t{5}));
}

TEST_P(EngineContract, AlteringAColumnKeepsRowsAndOrder) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'Alice',#01/Jan/2024#,1.5,2)");
    run(con, "insert into Probe values(2,'12',#02/Jan/2024#,2.5,3)");

    run(con, "alter TABLE Probe Alter column Name text (101)  ;");
    auto rs = query(con, "select * from Probe order by SN");
    ASSERT_EQ(rs->FieldCount(), 5);
    EXPECT_EQ(rs->FieldName(1), "Name");
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(rs->Fields("Name"), Variant("Alice"));
    EXPECT_EQ(rs->Fields("Born"), Variant(Date{2024, 1, 1}));
    EXPECT_EQ(count(con, "Probe where Name = 'ALICE'"), 1);

    // The new declared type governs what the column accepts from now on.
    run(con, "alter TABLE Probe Alter column Code DATE");
    run(con, "UPDATE Probe SET Code = '05/03/2024' WHERE SN = 1");
    EXPECT_EQ(scalar(con, "select Code from Probe where SN = 1"), Variant(Date{2024, 3, 5}));
    EXPECT_EQ(raisedBy([&] { run(con, "UPDATE Probe SET Code = 'abc' WHERE SN = 1"); }).number(),
              err::StoreTypeMismatch);

    RuntimeError e = raisedBy([&] { run(con, "alter TABLE Nowhere Alter column Name text (5)"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("Nowhere"), std::string::npos) << e.description();
    e = raisedBy([&] { run(con, "alter TABLE Probe Alter column Nothing text (5)"); });
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_NE(e.description().find("Nothing"), std::string::npos) << e.description();
    EXPECT_EQ(count(con, "Probe"), 2);
}

TEST_P(EngineContract, ChangesMadeOnOneConnectionAreSeenByAnother) {
    auto first = connect();
    auto second = connect();
    run(first, "insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)");
    EXPECT_EQ(count(second, "EMI"), 1);

    // A column type changed elsewhere governs this connection's next write.
    createProbe(first);
    run(second, "insert into Probe (SN, Name) values(1, 'x')");
    run(first, "alter TABLE Probe Alter column Name DATE");
    EXPECT_EQ(raisedBy([&] { run(second, "UPDATE Probe SET Name = 'abc'"); }).number(),
              err::StoreTypeMismatch);
}

}  // namespace quillet::test
