// Items, cables and cable statuses: the inserts, the replacement of a cable's status, the cable
// details lookup and its copy into controls, and the record deletes.
#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

class CableRecordsTest : public RecordsTest {};

// Three cables with one connector description; their remarks are x, Null and y.
void addCables() {
    exec({"insert into Cable values(1,'C-1','Plug','P1','B1','T1','S1','x')",
          "insert into Cable values(2,'C-2','Plug','P2','B2','T2','S2',Null)",
          "insert into Cable values(3,'C-3','Plug','P3','B3','T3','S3','y')",
          "insert into CableStatus values(1,'C-1',#01/01/2024#,'first')",
          "insert into CableStatus values(2,'C-3',#01/01/2024#,'third')"});
}

TEST_F(CableRecordsTest, EachInsertStoresEveryValueInItsOwnColumnAsTyped) {
    vek.SaveCable("C-1", "O'Brien's plug", "PN-77", "BS-2", "B-1", "SS", "नया केबल", "Cable");
    vek.SaveItem("Gland 'A'", "PN-1", "it's spare", "PARTNUMBER");
    vek.SaveItemStatus("Relay", "PN-2", "SR'9", "Tested OK", "StatusItem");

    EXPECT_EQ(rows("select * from Cable"),
              (Rows{{"1", "C-1", "O'Brien's plug", "PN-77", "BS-2", "B-1", "SS", "नया केबल"}}));
    EXPECT_EQ(rows("select * from PARTNUMBER"), (Rows{{"1", "Gland 'A'", "PN-1", "it's spare"}}));
    EXPECT_EQ(rows("select * from StatusItem"),
              (Rows{{"1", "Relay", "PN-2", "SR'9", "Tested OK"}}));
    EXPECT_EQ(messages().front(), "Saved|64|Info");
}

TEST_F(CableRecordsTest, NamesThatAreNoIdentifiersRaiseLikeAFailingStatementWithNoSqlRun) {
    exec({"insert into CableStatus values(1,'C-1',#01/02/2020#,'OK')"});
    EXPECT_THROW(vek.SaveItem("i", "p", "r", "NoSuchItems"), RuntimeError);
    EXPECT_THROW(vek.SaveCable("C-1", "", "", "", "", "", "", "Cable where 1=1"), RuntimeError);
    EXPECT_THROW(vek.SaveItem("i", "p", "r", "1PARTNUMBER"), RuntimeError);
    EXPECT_THROW(vek.UpdateStatus("CableNum = CableNum or CableNum", "x", "CableStatus", "s"),
                 RuntimeError);

    EXPECT_EQ(countRows("Cable"), 0);
    EXPECT_EQ(countRows("CableStatus"), 1);
}

TEST_F(CableRecordsTest, UpdateStatusReplacesTheStatusUnderTheNextSerial) {
    exec({"insert into CableStatus values(7,'C-101',#01/02/2020#,'Faulty')",
          "insert into CableStatus values(3,'C-200',#01/02/2020#,'Spare')",
          "insert into Cable values(1,'C-101','d','p','b','o','s','r')"});

    vek.UpdateStatus("CableNum", "C-101", "CableStatus", "Tested OK");

    EXPECT_THAT(rows("select SN, StatusDate, Remarks from CableStatus where CableNum = 'C-101'"),
                ElementsAre(ElementsAre("8", todayText(), "Tested OK")));
    EXPECT_EQ(countRows("CableStatus"), 2);
    EXPECT_THAT(messages(), ElementsAre("Status Updated|64|Status"));
    vek.FindDetails("CableNum", "C-101", "Cable");
    EXPECT_EQ(vek.Statusx_, Variant("Tested OK"));

    // A store whose status column takes numbers only refuses the text status: the old one stays.
    exec({"drop table CableStatus",
          "create table CableStatus (SN NUMBER, CableNum TEXT(50), StatusDate DATE, "
          "Remarks NUMBER)",
          "insert into CableStatus values(2,'C-1',#01/02/2020#,5)"});
    EXPECT_THROW(vek.UpdateStatus("CableNum", "C-1", "CableStatus", "Tested OK"), RuntimeError);
    EXPECT_THAT(rows("select SN, CableNum, Remarks from CableStatus"),
                ElementsAre(ElementsAre("2", "C-1", "5")));
    EXPECT_EQ(shown().size(), 1U);
}

TEST_F(CableRecordsTest, FindDetailsJoinsTheRemarksTakesTheLastCableAndEndsOnAFailure) {
    addCables();

    vek.FindDetails("ConnDesc", "Plug", "Cable");
    EXPECT_EQ(vek.Remarks_, "x  -     -   y");
    EXPECT_EQ(vek.CableNum_, Variant("C-3"));
    EXPECT_EQ(vek.ConnPartNo_, Variant("P3"));
    EXPECT_EQ(vek.Statusx_, Variant("third"));

    // AssignToObject copies the cable found, skipping what fails.
    vek.FindDetails("CableNum", "C-1", "Cable");
    vek.Boot_ = Variant::null();
    auto boxes = textBoxes(7);
    EXPECT_FALSE(vek.AssignToObject(boxes[0], FakeControl::withoutProperties(), boxes[2], boxes[3],
                                    boxes[4], boxes[5], boxes[6]));
    // The boot's Null cannot become text: its control keeps its own.
    EXPECT_EQ(textsOf(boxes),
              (std::vector<std::string>{"Plug", "old", "B1", "old", "S1", "x", "first"}));

    // A missing table or a refused name ends the walk with the remarks emptied.
    vek.FindDetails("CableNum", "C-1", "NoSuchCables");
    EXPECT_EQ(vek.Remarks_, "");
    vek.Remarks_ = "kept";
    vek.FindDetails("CableNum = CableNum or CableNum", "C-1", "Cable");
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_TRUE(shown().empty());
}

// The five record deletes share one shape: the serial's row goes and "Deleted" is said whether or
// not it had a row; a failing statement raises before anything is said.
TEST_F(CableRecordsTest, EachDeleteRemovesItsRowAndSaysDeletedEvenWithoutOne) {
    const std::vector<std::pair<std::string, Variant (VekClass::*)(std::int16_t)>> deletes = {
        {"cable", &VekClass::deleteCable},         {"PARTNUMBER", &VekClass::deleteItem},
        {"Appointment", &VekClass::deleteApp},     {"PersonEmployed", &VekClass::deleteEmployed},
        {"EmpDetail", &VekClass::deletepersonnel},
    };
    for (const auto& [table, remove] : deletes) {
        SCOPED_TRACE(table);
        exec({"insert into " + table + " (SN) values(5)",
              "insert into " + table + " (SN) values(6)"});

        (vek.*remove)(5);
        (vek.*remove)(99);

        EXPECT_EQ(rows("select SN from " + table), (Rows{{"6"}}));

        exec({"drop table " + table});
        EXPECT_THROW((vek.*remove)(6), RuntimeError);
    }
    EXPECT_EQ(messages(), std::vector<std::string>(2 * deletes.size(), "Deleted|64|Info"));
}

}  // namespace
}  // namespace quillet::testing
