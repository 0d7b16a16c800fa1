// Items, cables and cable statuses: inserts under the next serial and the replacement of a
// cable's status.
#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

class CableRecordsTest : public RecordsTest {};

TEST_F(CableRecordsTest, SaveCableGivesSerialOneInAnEmptyTableThenFollowsTheLargest) {
    vek.SaveCable("C-101", "Plug 9 pin", "PN-77", "BS-2", "B-1", "SS", "spare", "Cable");

    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_EQ(vek.str.toString(),
              "insert into Cable values(1,'C-101','Plug 9 pin','PN-77','BS-2','B-1','SS','spare')");
    EXPECT_THAT(messages(), ElementsAre("Saved|64|Info"));

    // Plus 1 in the largest serial's own number type: 17.5 is followed by 18.5, not 18 or 19.
    exec({"update Cable set SN = 17.5"});
    vek.SaveCable("C-102", "d", "p", "b", "o", "s", "r", "Cable");

    EXPECT_EQ(vek.SN_, Variant(18.5));
    EXPECT_THAT(
        rows("select SN, CableNum, Remarks from Cable order by SN"),
        ElementsAre(ElementsAre("17.5", "C-101", "spare"), ElementsAre("18.5", "C-102", "r")));
}

TEST_F(CableRecordsTest, ApostrophesAndOtherScriptsAreStoredAsTyped) {
    vek.SaveCable("C-1", "O'Brien's plug", "", "", "", "", "नया केबल", "Cable");
    vek.SaveItem("Gland 'A'", "PN-1", "it's spare", "PARTNUMBER");
    vek.SaveItemStatus("Relay", "PN-2", "SR'9", "Tested OK", "StatusItem");

    EXPECT_THAT(rows("select ConnDesc, Remarks from Cable"),
                ElementsAre(ElementsAre("O'Brien's plug", "नया केबल")));
    EXPECT_THAT(rows("select * from PARTNUMBER"),
                ElementsAre(ElementsAre("1", "Gland 'A'", "PN-1", "it's spare")));
    EXPECT_THAT(rows("select * from StatusItem"),
                ElementsAre(ElementsAre("1", "Relay", "PN-2", "SR'9", "Tested OK")));
}

TEST_F(CableRecordsTest, NamesThatAreNoIdentifiersRaiseLikeAFailingStatementWithNoSqlRun) {
    exec({"insert into CableStatus values(1,'C-1',#01/02/2020#,'OK')"});
    EXPECT_THROW(vek.SaveItem("i", "p", "r", "NoSuchItems"), RuntimeError);
    // Untrapped: the connection stays open until the next operation reopens it.
    EXPECT_EQ(vek.Con->State(), kStateOpen);
    vek.str = "before";

    EXPECT_THROW(vek.SaveCable("C-1", "", "", "", "", "", "", "Cable where 1=1"), RuntimeError);
    EXPECT_THROW(vek.SaveItem("i", "p", "r", "1PARTNUMBER"), RuntimeError);
    EXPECT_EQ(vek.str.toString(), "before");
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

    EXPECT_EQ(vek.SN_, Variant(std::int32_t{8}));
    EXPECT_THAT(rows("select SN, StatusDate, Remarks from CableStatus where CableNum = 'C-101'"),
                ElementsAre(ElementsAre("8", todayText(), "Tested OK")));
    EXPECT_EQ(countRows("CableStatus"), 2);
    EXPECT_THAT(messages(), ElementsAre("Status Updated|64|Status"));

    vek.FindDetails("CableNum", "C-101", "Cable");
    EXPECT_EQ(vek.Statusx_, Variant("Tested OK"));
}

TEST_F(CableRecordsTest, AFailingStatusInsertKeepsTheOldStatusAndSaysNothing) {
    // A store whose status column takes numbers only refuses the text status.
    exec({"drop table CableStatus",
          "create table CableStatus (SN NUMBER, CableNum TEXT(50), StatusDate DATE, "
          "Remarks NUMBER)",
          "insert into CableStatus values(2,'C-1',#01/02/2020#,5)"});

    EXPECT_THROW(vek.UpdateStatus("CableNum", "C-1", "CableStatus", "Tested OK"), RuntimeError);

    EXPECT_THAT(rows("select SN, CableNum, Remarks from CableStatus"),
                ElementsAre(ElementsAre("2", "C-1", "5")));
    EXPECT_TRUE(shown().empty());
}

}  // namespace
}  // namespace quillet::testing
