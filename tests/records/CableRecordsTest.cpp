// Items, cables and cable statuses: inserts under the next serial, deletes by serial, and the
// replacement of a cable's status.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

using ::testing::ElementsAre;

class CableRecordsTest : public RecordsTest {};

TEST_F(CableRecordsTest, SaveCableGivesSerialOneInAnEmptyTableAndSaysSaved) {
    vek.SaveCable("C-101", "Plug 9 pin", "PN-77", "BS-2", "B-1", "SS", "spare", "Cable");

    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_EQ(vek.str.toString(),
              "insert into Cable values(1,'C-101','Plug 9 pin','PN-77','BS-2','B-1','SS','spare')");
    EXPECT_THAT(rows("select * from Cable"),
                ElementsAre(ElementsAre("1", "C-101", "Plug 9 pin", "PN-77", "BS-2", "B-1", "SS",
                                        "spare")));
    EXPECT_THAT(messages(), ElementsAre("Saved|64|Info"));
    EXPECT_EQ(vek.a, Variant(vbOK));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(CableRecordsTest, SaveCableFollowsTheLargestSerial) {
    exec({"insert into CABLES values(4,'A','','','','','','')",
          "insert into CABLES values(17,'B','','','','','','')"});

    vek.SaveCable("C-102", "d", "p", "b", "o", "s", "r", "CABLES");

    EXPECT_EQ(vek.SN_, Variant(std::int32_t{18}));
    EXPECT_EQ(storedValue("select CableNum from CABLES where SN = 18").toString(), "C-102");
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
    EXPECT_THAT(messages(), ElementsAre("Saved|64|Info", "Saved|64|Info", "Saved|64|Info"));
}

TEST_F(CableRecordsTest, ATableNameThatIsNoIdentifierRaisesBeforeAnySqlRuns) {
    vek.str = "before";

    EXPECT_THROW(vek.SaveCable("C-1", "", "", "", "", "", "", "Cable where 1=1"), RuntimeError);
    EXPECT_THROW(vek.SaveItem("i", "p", "r", "PARTNUMBER;"), RuntimeError);

    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(countRows("Cable"), 0);
}

TEST_F(CableRecordsTest, SaveItemIntoAMissingTableRaisesAndSaysNothing) {
    try {
        vek.SaveItem("i", "p", "r", "NoSuchItems");
        FAIL() << "the insert should have failed";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), err::StoreError);
    }
    EXPECT_TRUE(shown().empty());
    // Untrapped: the connection stays open until the next operation reopens it.
    EXPECT_EQ(vek.Con->State(), kStateOpen);
}

TEST_F(CableRecordsTest, DeletesRemoveTheRowAndSayDeletedEvenWithoutARow) {
    exec({"insert into Cable values(3,'C-3','','','','','','')",
          "insert into PARTNUMBER values(5,'i','p','r')"});

    vek.deleteCable(3);
    vek.deleteItem(5);
    vek.deleteCable(99);
    vek.deleteItem(99);

    EXPECT_EQ(countRows("Cable"), 0);
    EXPECT_EQ(countRows("PARTNUMBER"), 0);
    EXPECT_EQ(vek.str.toString(), "Delete * from PARTNUMBER where SN = 99");
    EXPECT_THAT(messages(), ElementsAre("Deleted|64|Info", "Deleted|64|Info", "Deleted|64|Info",
                                        "Deleted|64|Info"));
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
    EXPECT_EQ(vek.str.toString(), "insert into CableStatus values(8,'C-101',#" +
                                      formatDayMonthYear(today()) + "#,'Tested OK')");

    vek.FindDetails("CableNum", "C-101", "Cable");
    EXPECT_EQ(vek.Statusx_, Variant("Tested OK"));
}

TEST_F(CableRecordsTest, UpdateStatusGivesACableWithoutStatusItsFirstRow) {
    vek.UpdateStatus("CableNum", "C-9", "CableStatus", "New");

    EXPECT_THAT(rows("select SN, CableNum, Remarks from CableStatus"),
                ElementsAre(ElementsAre("1", "C-9", "New")));
}

TEST_F(CableRecordsTest, UpdateStatusFromAnotherTableStillWritesCableStatus) {
    exec({"insert into Cable values(4,'C-4','','','','','','')"});

    vek.UpdateStatus("CableNum", "C-4", "Cable", "Scrapped");

    EXPECT_EQ(countRows("Cable"), 0);
    EXPECT_THAT(rows("select SN, CableNum, Remarks from CableStatus"),
                ElementsAre(ElementsAre("5", "C-4", "Scrapped")));
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
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{3}));
}

TEST_F(CableRecordsTest, AColumnNameThatIsNoIdentifierDeletesNothing) {
    exec({"insert into CableStatus values(1,'C-1',#01/02/2020#,'OK')"});

    EXPECT_THROW(vek.UpdateStatus("CableNum = CableNum or CableNum", "x", "CableStatus", "s"),
                 RuntimeError);

    EXPECT_EQ(countRows("CableStatus"), 1);
    EXPECT_TRUE(shown().empty());
}

TEST_F(CableRecordsTest, TwoWritersOnOneStoreNeverShareASerial) {
    auto locked = std::make_shared<LockedMessageBoxes>();
    const auto previous = installMessageBoxService(locked);
    constexpr int kEach = 20;
    const auto writer = [](const std::string& name) {
        VekClass own;
        for (int i = 0; i < kEach; ++i) {
            own.SaveCable(name + std::to_string(i), "", "", "", "", "", "", "Cable");
        }
    };
    std::thread first(writer, "A-");
    std::thread second(writer, "B-");
    first.join();
    second.join();
    installMessageBoxService(previous);

    std::set<std::string> serials;
    for (const auto& row : rows("select SN from Cable")) {
        serials.insert(row.at(0));
    }
    EXPECT_EQ(countRows("Cable"), 2 * kEach);
    EXPECT_EQ(serials.size(), static_cast<std::size_t>(2 * kEach));
    EXPECT_EQ(storedValue("select max(SN) from Cable").toDouble(), 2 * kEach);
    EXPECT_EQ(locked->shown.size(), static_cast<std::size_t>(2 * kEach));
}

}  // namespace
}  // namespace quillet::testing
