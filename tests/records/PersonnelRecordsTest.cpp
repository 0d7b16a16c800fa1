// Personnel records: the employee lookup and its copies into controls, the two employee inserts,
// the in-time updates and the employee delete.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

/// The caller's variables of one SavePersonnel call.
struct PersonnelForm {
    std::string Catagoryx = "Staff";
    std::string NAME_ = "Asha Rao";
    std::string ADDRESS_ = "12 Hill Rd";
    std::string CITY = "Pune";
    std::string RESIDENTIAL_PHONE = "020-1";
    std::string MOBILE_No = "98-1";
    std::string DOB = "25/03/1970";
    std::string SERVICE_No = "S-9";
    std::string REM_TYPE = "OUT";
    std::string EMAIL_ID = "asha@example.org";
    std::string remark = "new";
    std::string Designation = "Fitter";
    std::string EQUIPMENT = "Lathe";
    std::string PROJECT = "P-7";
    std::string SBU = "North";
    std::string Other = "-";
    std::int16_t code = 4;
    std::string hindiname = "आशा";

    /// The fifteen texts the save trims.
    std::vector<std::string*> trimmedTexts() {
        return {&Catagoryx,   &NAME_,      &ADDRESS_, &CITY,     &RESIDENTIAL_PHONE,
                &MOBILE_No,   &SERVICE_No, &REM_TYPE, &EMAIL_ID, &remark,
                &Designation, &EQUIPMENT,  &PROJECT,  &SBU,      &Other};
    }

    bool saveWith(VekClass& vek, const std::string& table = "EmpDetail") {
        return vek.SavePersonnel(Catagoryx, NAME_, ADDRESS_, CITY, RESIDENTIAL_PHONE, MOBILE_No,
                                 DOB, SERVICE_No, REM_TYPE, EMAIL_ID, remark, Designation,
                                 EQUIPMENT, PROJECT, SBU, Other, code, hindiname, table);
    }
};

class PersonnelRecordsTest : public RecordsTest {};

// ---- SavePersonnel ------------------------------------------------------------------------

TEST_F(PersonnelRecordsTest, SavePersonnelGivesSerialOneThenFollowsTheLargest) {
    PersonnelForm form;
    EXPECT_TRUE(form.saveWith(vek));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_EQ(vek.str.toString(),
              "insert into EmpDetail values(1,'Staff','Asha Rao','12 Hill Rd','Pune','020-1',"
              "'98-1','25/03/1970',25,3,1970,'S-9','OUT','asha@example.org','new','Fitter',"
              "'Lathe','P-7',1,'North','-',4,'आशा')");
    // The connection stays open after the insert.
    EXPECT_EQ(vek.Con->State(), kStateOpen);

    exec({"update EmpDetail set SN = 17"});
    EXPECT_TRUE(form.saveWith(vek));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{18}));
    EXPECT_THAT(rows("select SN from EmpDetail order by SN"),
                ElementsAre(ElementsAre("17"), ElementsAre("18")));
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, SavePersonnelTrimsTheFifteenTextsInTheCallersVariables) {
    PersonnelForm form;
    for (std::string* text : form.trimmedTexts()) {
        *text = "  " + *text + " ";
    }
    form.DOB = " 25/03/1970";
    form.hindiname = " आशा ";

    ASSERT_TRUE(form.saveWith(vek));

    PersonnelForm plain;
    for (std::size_t i = 0; i < plain.trimmedTexts().size(); ++i) {
        EXPECT_EQ(*form.trimmedTexts()[i], *plain.trimmedTexts()[i]);
    }
    EXPECT_EQ(form.DOB, " 25/03/1970");
    EXPECT_EQ(form.hindiname, " आशा ");
    EXPECT_THAT(rows("select NAME_, Other, NameHindi from EmpDetail"),
                ElementsAre(ElementsAre("Asha Rao", "-", " आशा ")));
}

TEST_F(PersonnelRecordsTest, ApostrophesAndHindiNamesAreStoredAndReadBackUnchanged) {
    PersonnelForm form;
    form.NAME_ = "O'Brien";
    form.hindiname = "ओ'ब्रायन";

    ASSERT_TRUE(form.saveWith(vek));

    EXPECT_EQ(form.hindiname, "ओ'ब्रायन");
    vek.FindPersonnelDetails("1");
    EXPECT_EQ(vek.NAME_, Variant("O'Brien"));
    EXPECT_EQ(vek.NameHindi_, "ओ'ब्रायन");
    EXPECT_EQ(vek.FindSlofEmmpDetail("O'Brien"), 1);
}

TEST_F(PersonnelRecordsTest, ADateOfBirthThatIsNoDateFailsTheSave) {
    PersonnelForm form;
    form.DOB = "someday";

    EXPECT_FALSE(form.saveWith(vek));

    EXPECT_EQ(form.DOB, "someday");
    EXPECT_THAT(vek.str.toString(), HasSubstr(",'someday',0,0,0,"));
    EXPECT_EQ(countRows("EmpDetail"), 0);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, AnEmptyDateOfBirthStoresNoDate) {
    PersonnelForm form;
    form.DOB = "";

    ASSERT_TRUE(form.saveWith(vek));

    EXPECT_THAT(rows("select Datex, DAYX, MONTHX, YEARX from EmpDetail"),
                ElementsAre(ElementsAre("<Null>", "0", "0", "0")));
}

TEST_F(PersonnelRecordsTest, ARefusedTableNameFailsTheSaveBeforeAnythingChanges) {
    PersonnelForm form;
    form.NAME_ = " Asha ";
    vek.str = "before";

    EXPECT_FALSE(form.saveWith(vek, "EmpDetail values(1) --"));

    EXPECT_EQ(vek.SN_.toString(), "1");
    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_EQ(form.NAME_, " Asha ");  // the jump skipped the trimming
    EXPECT_EQ(countRows("EmpDetail"), 0);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, TwoSaversOnTwoConnectionsNeverShareASerial) {
    constexpr int kEach = 15;
    const auto saver = [] {
        VekClass own;
        PersonnelForm form;
        for (int i = 0; i < kEach; ++i) {
            EXPECT_TRUE(form.saveWith(own));
        }
    };
    std::thread first(saver);
    std::thread second(saver);
    first.join();
    second.join();

    std::set<std::string> serials;
    for (const auto& row : rows("select SN from EmpDetail")) {
        serials.insert(row.at(0));
    }
    EXPECT_EQ(countRows("EmpDetail"), 2 * kEach);
    EXPECT_EQ(serials.size(), static_cast<std::size_t>(2 * kEach));
}

// ---- FindPersonnelDetails and the copies into controls ------------------------------------

TEST_F(PersonnelRecordsTest, FindPersonnelDetailsReadsTheWholeEmployee) {
    PersonnelForm form;
    ASSERT_TRUE(form.saveWith(vek));

    vek.FindPersonnelDetails("1");

    EXPECT_EQ(vek.SN_.toString(), "1");
    EXPECT_EQ(vek.Catagoryx_, Variant("Staff"));
    EXPECT_EQ(vek.city_, Variant("Pune"));
    EXPECT_EQ(vek.DATEX_, Variant(Date{1970, 3, 25}));
    EXPECT_EQ(vek.Remarks_, "new");
    EXPECT_EQ(vek.des_, Variant("Fitter"));
    EXPECT_EQ(vek.equ_, Variant("Lathe"));
    EXPECT_EQ(vek.pro_, Variant("P-7"));
    EXPECT_EQ(vek.SBU_, Variant("North"));
    EXPECT_EQ(vek.Other_, Variant("-"));
    EXPECT_EQ(vek.code_.toString(), "4");
    EXPECT_EQ(vek.NameHindi_, "आशा");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(PersonnelRecordsTest, FindPersonnelDetailsWithoutARowClearsAllButTheSerial) {
    PersonnelForm form;
    ASSERT_TRUE(form.saveWith(vek));
    vek.FindPersonnelDetails("1");

    vek.FindPersonnelDetails("2");

    EXPECT_EQ(vek.SN_.toString(), "1");
    for (const Variant* member :
         {&vek.Catagoryx_, &vek.NAME_, &vek.ADDRESS_, &vek.city_, &vek.RESIDENTIAL_PHONE_,
          &vek.MOBILE_No_, &vek.SERVICE_No, &vek.EMAIL_ID_, &vek.DATEX_, &vek.des_, &vek.equ_,
          &vek.pro_, &vek.SBU_, &vek.Other_, &vek.code_}) {
        EXPECT_EQ(*member, Variant(""));
    }
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.NameHindi_, "");
}

TEST_F(PersonnelRecordsTest, AssignToObjectPersonnelShowsADashForAnEmptyDesignation) {
    PersonnelForm form;
    form.Designation = "";
    ASSERT_TRUE(form.saveWith(vek));
    vek.FindPersonnelDetails("1");
    auto boxes = textBoxes(17);
    auto noText = FakeControl::withoutProperties();

    EXPECT_FALSE(vek.AssignToObjectPersonnel(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                                             boxes[5], boxes[6], noText, boxes[8], boxes[9],
                                             boxes[10], boxes[11], boxes[12], boxes[13], boxes[14],
                                             boxes[15], boxes[16], boxes[7]));

    EXPECT_EQ(boxes[0]->text(), "1");
    EXPECT_EQ(boxes[2]->text(), "Asha Rao");
    EXPECT_EQ(boxes[8]->text(), "25/03/1970");
    EXPECT_EQ(boxes[10]->text(), "new");
    EXPECT_EQ(boxes[11]->text(), "-");
    EXPECT_EQ(boxes[12]->text(), "Lathe");
    EXPECT_EQ(boxes[16]->text(), "4");
    EXPECT_EQ(boxes[7]->text(), "आशा");

    vek.des_ = Variant::null();
    vek.equ_ = Variant::null();
    boxes = textBoxes(18);
    vek.AssignToObjectPersonnel(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5],
                                boxes[6], boxes[7], boxes[8], boxes[9], boxes[10], boxes[11],
                                boxes[12], boxes[13], boxes[14], boxes[15], boxes[16], boxes[17]);
    EXPECT_EQ(boxes[11]->text(), "-");
    EXPECT_EQ(boxes[12]->text(), "old");  // a Null cannot become text: the control keeps its own
    EXPECT_EQ(boxes[13]->text(), "P-7");
    EXPECT_EQ(boxes[7]->text(), "S-9");
}

TEST_F(PersonnelRecordsTest, AssignToObjectPersonnelOldSetsTheFirstEleven) {
    vek.SN_ = std::int32_t{3};
    vek.NAME_ = "Ravi";
    vek.des_ = "Welder";
    vek.Remarks_ = "ok";
    auto boxes = textBoxes(11);

    EXPECT_FALSE(vek.AssignToObjectPersonnelOLD(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                                                boxes[5], boxes[6], boxes[7], boxes[8], boxes[9],
                                                boxes[10]));

    EXPECT_EQ(boxes[0]->text(), "3");
    EXPECT_EQ(boxes[2]->text(), "Ravi");
    EXPECT_EQ(boxes[10]->text(), "ok");
    EXPECT_EQ(boxes[1]->text(), "");  // an Empty member reads as ""
}

// ---- SavePersonnelOLD ---------------------------------------------------------------------

TEST_F(PersonnelRecordsTest, SavePersonnelOldPutsTodayForAnEmptyDateAndTrimsFive) {
    exec({"insert into PersonEmployed (SN) values(17)"});
    std::string Catagoryx = " Guest ";
    std::string NAME_ = " D'Souza ";
    std::string ADDRESS_ = " Addr ";
    std::string CITY = " Goa ";
    std::string remark = " r ";
    std::string DOB;

    EXPECT_TRUE(vek.SavePersonnelOLD(Catagoryx, NAME_, ADDRESS_, CITY, " 1 ", "2", DOB, "S", "IN",
                                     "e@x", remark, "PersonEmployed"));

    const Date now = today();
    EXPECT_EQ(DOB, todayText());
    EXPECT_EQ(NAME_, "D'Souza");
    EXPECT_EQ(CITY, "Goa");
    EXPECT_EQ(remark, "r");
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{18}));
    EXPECT_THAT(vek.str.toString(), HasSubstr(",#" + todayText() + "#,"));
    EXPECT_THAT(rows("select NAME_, RESIDENTIAL_PHONE, Datex, DAYX, YEARX from PersonEmployed "
                     "where SN = 18"),
                ElementsAre(ElementsAre("D'Souza", " 1 ", todayText(), std::to_string(now.day),
                                        std::to_string(now.year))));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, SavePersonnelOldRaisesAFailureToItsCaller) {
    std::string Catagoryx;
    std::string NAME_ = "x";
    std::string ADDRESS_;
    std::string CITY;
    std::string remark;
    std::string DOB = "01/01/2000";

    EXPECT_THROW(vek.SavePersonnelOLD(Catagoryx, NAME_, ADDRESS_, CITY, "", "", DOB, "", "", "",
                                      remark, "NoSuchTable"),
                 RuntimeError);
    EXPECT_EQ(vek.SN_.toString(), "1");
    EXPECT_EQ(vek.Con->State(), kStateOpen);
}

// ---- UpdateInTime, UpdatePersonnel, deletepersonnel ---------------------------------------

TEST_F(PersonnelRecordsTest, UpdateInTimeLeavesTheEmailAddressAlone) {
    exec({"insert into PersonEmployed (SN, EMAIL_ID) values(4,'kept@example.org')"});
    std::string DOB = "nonsense";

    vek.UpdateInTime("4", "Guest", "O'Neil", "A", "C", "1", "2", DOB, "S", "IN", "new@x", "rem",
                     "PersonEmployed");

    EXPECT_EQ(DOB, todayText());
    EXPECT_THAT(vek.str.toString(), HasSubstr("REM_TYPE = 'IN', REMARK = 'rem' WHERE SN = 4"));
    EXPECT_THAT(rows("select NAME_, EMAIL_ID, Datex from PersonEmployed"),
                ElementsAre(ElementsAre("O'Neil", "kept@example.org", todayText())));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));
}

TEST_F(PersonnelRecordsTest, UpdateInTimeReportsAFailingStatement) {
    std::string DOB = "01/01/2000";

    vek.UpdateInTime("x", "", "", "", "", "", "", DOB, "", "", "", "", "PersonEmployed");

    ASSERT_EQ(shown().size(), 1U);
    EXPECT_EQ(shown()[0].buttons, vbOKOnly);
    EXPECT_EQ(shown()[0].title, "Quillet");
}

TEST_F(PersonnelRecordsTest, UpdatePersonnelRecordsTheArrivalTime) {
    PersonnelForm form;
    ASSERT_TRUE(form.saveWith(vek));
    exec({"update EmpDetail set SN = 17"});

    EXPECT_TRUE(vek.UpdatePersonnel(17, "09:30", "EmpDetail"));

    EXPECT_EQ(vek.str.toString(),
              "UPDATE EmpDetail SET MOBILE_No = '09:30', REM_TYPE = 'IN' WHERE SN = 17");
    EXPECT_THAT(rows("select MOBILE_No, REM_TYPE from EmpDetail"),
                ElementsAre(ElementsAre("09:30", "IN")));
    EXPECT_EQ(vek.Con->State(), kStateClosed);

    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "NoSuchTable"));
    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "EmpDetail --"));
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, DeletepersonnelSaysDeletedWhetherOrNotTheSerialHadARow) {
    PersonnelForm form;
    ASSERT_TRUE(form.saveWith(vek));

    vek.deletepersonnel(1);
    vek.deletepersonnel(1);

    EXPECT_EQ(countRows("EmpDetail"), 0);
    EXPECT_THAT(messages(), ElementsAre("Deleted|64|Info", "Deleted|64|Info"));
}

// ---- The manpower register ----------------------------------------------------------------

TEST_F(PersonnelRecordsTest, SaveManpowerAddsThePersonsMonthOnceAndMarksEachDay) {
    EXPECT_TRUE(
        vek.saveManpower(1, 3, "2024", "Asha", "Fitter", "S-9", "Lathe", "P-7", "ManPower"));
    EXPECT_TRUE(vek.saveManpower(31, 3, "2024", "Asha", "ignored", "", "", "", "ManPower"));
    EXPECT_TRUE(vek.saveManpower(31, 3, "2024", "Asha", "", "", "", "", "ManPower"));
    EXPECT_TRUE(vek.saveManpower(2, 4, "2024", "Asha", "Fitter", "S-9", "", "", "ManPower"));

    EXPECT_THAT(
        rows("select SN, Name_, Designation, STAFF_No, EQUIPMENT, PROJECT, Month_, "
             "Year_, one_, two_, thirtyone_ from ManPower order by SN"),
        ElementsAre(
            ElementsAre("1", "Asha", "Fitter", "S-9", "Lathe", "P-7", "3", "2024", "1", "0", "1"),
            ElementsAre("2", "Asha", "Fitter", "S-9", "", "", "4", "2024", "0", "1", "0")));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, UpdateManPowerCountsTheMarkedDays) {
    for (const std::int16_t day : {1, 5, 5, 20, 31}) {
        vek.saveManpower(day, 3, "2024", "O'Brien", "", "", "", "", "ManPower");
    }
    vek.saveManpower(6, 3, "2024", "Someone else", "", "", "", "", "ManPower");
    vek.saveManpower(7, 3, "2023", "O'Brien", "", "", "", "", "ManPower");

    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 3, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{4}));
    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 2, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{0}));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(PersonnelRecordsTest, ADayOrMonthOutOfRangeWritesNothing) {
    vek.SN_ = "kept";

    EXPECT_FALSE(vek.saveManpower(0, 3, "2024", "Asha", "", "", "", "", "ManPower"));
    EXPECT_FALSE(vek.saveManpower(32, 3, "2024", "Asha", "", "", "", "", "ManPower"));
    EXPECT_FALSE(vek.saveManpower(1, 13, "2024", "Asha", "", "", "", "", "ManPower"));
    EXPECT_FALSE(vek.saveManpower(1, 0, "2024", "Asha", "", "", "", "", "ManPower"));
    EXPECT_FALSE(vek.UpdateManPower("Asha", 13, 2024));

    EXPECT_EQ(countRows("ManPower"), 0);
    EXPECT_EQ(vek.SN_, Variant("kept"));
}

TEST_F(PersonnelRecordsTest, AYearThatIsNoNumberRaisesFromSaveManpower) {
    EXPECT_THROW(vek.saveManpower(1, 3, "2024 or 1=1", "Asha", "", "", "", "", "ManPower"),
                 RuntimeError);
    EXPECT_THROW(vek.saveManpower(1, 3, "2024", "Asha", "", "", "", "", "Man Power"), RuntimeError);
    EXPECT_EQ(countRows("ManPower"), 0);
}

}  // namespace
}  // namespace quillet::testing
