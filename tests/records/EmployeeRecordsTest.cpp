// Employee and appointment records: lookups into the record buffer, the cable details lookup and
// its copy into controls, the two updates and the two deletes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class EmployeeRecordsTest : public RecordsTest {
protected:
    static void addAppointment() {
        exec(
            {"insert into Appointment values(5,'Guest','Asha Rao','12 Hill Rd','Pune','020-1',"
             "'98-1',#25/03/1970#,25,3,1970,'S-9','OUT','asha@example.org',Null)"});
    }
    static void addEmployee(int sn, const std::string& name) {
        exec({"insert into EmpDetail (SN, NAME_, Designation) values(" + std::to_string(sn) + ",'" +
              name + "','Fitter')"});
    }
    // The full update of employee 17 with the given name, date of birth and Hindi name.
    void updateEmployee(const std::string& SNX, const std::string& name, std::string& DOB,
                        const std::string& hindi, const std::string& table = "EmpDetail") {
        vek.UpdateEmpDetail(SNX, "A", name, "C", "D", "E", "F", DOB, "G", "H", "I", "J", "K", "L",
                            "M", "N", "O", 4, hindi, table);
    }
};

// ---- Findapp ------------------------------------------------------------------------------

TEST_F(EmployeeRecordsTest, FindappFillsTheBufferFromTheAppointment) {
    addAppointment();

    vek.Findapp("5");

    EXPECT_EQ(vek.SN_.toString(), "5");
    EXPECT_EQ(vek.Catagoryx_, Variant("Guest"));
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));
    EXPECT_EQ(vek.ADDRESS_, Variant("12 Hill Rd"));
    EXPECT_EQ(vek.city_, Variant("Pune"));
    EXPECT_EQ(vek.RESIDENTIAL_PHONE_, Variant("020-1"));
    EXPECT_EQ(vek.MOBILE_No_, Variant("98-1"));
    EXPECT_EQ(vek.SERVICE_No, Variant("S-9"));
    EXPECT_EQ(vek.EMAIL_ID_, Variant("asha@example.org"));
    EXPECT_EQ(vek.DATEX_, Variant(Date{1970, 3, 25}));
    EXPECT_EQ(vek.Remarks_, "");  // a Null remark cannot become text
    EXPECT_THAT(vek.str.toString(), HasSubstr("from Appointment where sn = 5"));
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(EmployeeRecordsTest, FindappWithoutARowKeepsTheEarlierBufferButClearsTheRemarks) {
    addAppointment();
    exec({"update Appointment set REMARK = 'VIP'"});
    vek.Findapp("5");
    ASSERT_EQ(vek.Remarks_, "VIP");

    vek.Findapp("6");

    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));
    EXPECT_EQ(vek.SN_.toString(), "5");
}

TEST_F(EmployeeRecordsTest, FindappWithASerialThatIsNoNumberRunsNothing) {
    addAppointment();
    vek.str = "before";

    vek.Findapp("5 or 1=1");

    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_TRUE(vek.NAME_.isEmpty());
    EXPECT_TRUE(shown().empty());
}

// ---- FindSlofEmmpDetail -------------------------------------------------------------------

TEST_F(EmployeeRecordsTest, FindSlofEmmpDetailGivesTheSerialOfTheName) {
    addEmployee(17, "O''Brien");

    EXPECT_EQ(vek.FindSlofEmmpDetail("O'Brien"), 17);
    EXPECT_EQ(vek.SN_.toString(), "17");
    EXPECT_EQ(vek.str.toString(), "Select SN from EmpDetail where NAME_ = 'O''Brien'");
}

TEST_F(EmployeeRecordsTest, FindSlofEmmpDetailGivesZeroForAnUnknownNameAfterAnEarlierLookup) {
    addEmployee(17, "Asha");

    EXPECT_EQ(vek.FindSlofEmmpDetail("Nobody"), 0);
    ASSERT_EQ(vek.FindSlofEmmpDetail("Asha"), 17);
    EXPECT_EQ(vek.FindSlofEmmpDetail("Nobody"), 0);
}

TEST_F(EmployeeRecordsTest, FindSlofEmmpDetailGivesZeroForASerialBeyondAnInteger) {
    addEmployee(40000, "Far");

    EXPECT_EQ(vek.FindSlofEmmpDetail("Far"), 0);
    EXPECT_EQ(vek.SN_.toString(), "40000");
}

// ---- FindDetails and AssignToObject -------------------------------------------------------

class CableDetailsTest : public EmployeeRecordsTest {
protected:
    // Three cables with one connector description; their remarks are x, Null and y.
    static void addCables() {
        exec({"insert into Cable values(1,'C-1','Plug','P1','B1','T1','S1','x')",
              "insert into Cable values(2,'C-2','Plug','P2','B2','T2','S2',Null)",
              "insert into Cable values(3,'C-3','Plug','P3','B3','T3','S3','y')",
              "insert into CableStatus values(1,'C-1',#01/01/2024#,'first')",
              "insert into CableStatus values(2,'C-3',#01/01/2024#,'third')"});
    }
};

TEST_F(CableDetailsTest, FindDetailsJoinsTheRemarksAndTakesTheLastCable) {
    addCables();
    // The store returns rows that share the search value in the order they were added.
    ASSERT_THAT(rows("Select SN from Cable where ConnDesc = 'Plug'  order by ConnDesc asc"),
                ElementsAre(ElementsAre("1"), ElementsAre("2"), ElementsAre("3")));

    vek.FindDetails("ConnDesc", "Plug", "Cable");

    EXPECT_EQ(vek.Remarks_, "x  -     -   y");
    EXPECT_EQ(vek.SN_.toString(), "3");
    EXPECT_EQ(vek.CableNum_, Variant("C-3"));
    EXPECT_EQ(vek.ConnDesc_, Variant("Plug"));
    EXPECT_EQ(vek.ConnPartNo_, Variant("P3"));
    EXPECT_EQ(vek.BackShell_, Variant("B3"));
    EXPECT_EQ(vek.Boot_, Variant("T3"));
    EXPECT_EQ(vek.StripSteel_, Variant("S3"));
    EXPECT_EQ(vek.Statusx_, Variant("third"));
    EXPECT_EQ(vek.str.toString(), "Select * from CableStatus where CableNum = 'C-3'");
    EXPECT_TRUE(shown().empty());
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(CableDetailsTest, FindDetailsOnAMissingTableEndsTheWalkAtOnce) {
    addCables();
    vek.FindDetails("CableNum", "C-1", "Cable");
    ASSERT_EQ(vek.Remarks_, "x");

    vek.FindDetails("CableNum", "C-1", "NoSuchCables");

    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.ConnPartNo_, Variant("P1"));
    EXPECT_TRUE(shown().empty());
}

TEST_F(CableDetailsTest, FindDetailsRefusesNamesThatAreNoIdentifiers) {
    addCables();

    vek.FindDetails("CableNum", "C-1", "Cable where 1=1 or Cable");
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_TRUE(vek.CableNum_.isEmpty());

    vek.FindDetails("CableNum = CableNum or CableNum", "x", "Cable");
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_TRUE(vek.CableNum_.isEmpty());
}

TEST_F(CableDetailsTest, AStatusThatIsNullOrMissingLeavesStatusEmpty) {
    addCables();
    exec({"update CableStatus set Remarks = Null where CableNum = 'C-1'"});

    vek.FindDetails("CableNum", "C-1", "Cable");
    EXPECT_EQ(vek.Statusx_, Variant(""));

    vek.FindDetails("CableNum", "C-2", "Cable");
    EXPECT_EQ(vek.Statusx_, Variant(""));
    EXPECT_EQ(vek.Remarks_, "");
}

TEST_F(CableDetailsTest, AssignToObjectCopiesTheCableAndSkipsWhatFails) {
    addCables();
    vek.FindDetails("CableNum", "C-1", "Cable");
    auto boxes = textBoxes(6);
    auto noText = FakeControl::withoutProperties();

    EXPECT_FALSE(
        vek.AssignToObject(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5], noText));

    EXPECT_EQ(boxes[0]->text(), "Plug");
    EXPECT_EQ(boxes[1]->text(), "P1");
    EXPECT_EQ(boxes[2]->text(), "B1");
    EXPECT_EQ(boxes[3]->text(), "T1");
    EXPECT_EQ(boxes[4]->text(), "S1");
    EXPECT_EQ(boxes[5]->text(), "x");

    vek.Boot_ = Variant::null();
    boxes = textBoxes(7);
    vek.AssignToObject(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5], boxes[6]);
    EXPECT_EQ(boxes[3]->text(), "old");
    EXPECT_EQ(boxes[6]->text(), "first");
}

// ---- UpdateEmpDetail and UpdateApp --------------------------------------------------------

TEST_F(EmployeeRecordsTest, UpdateEmpDetailWritesEveryColumnAndSaysUpdated) {
    addEmployee(17, "Before");
    std::string DOB = "25/03/1970";

    updateEmployee("17", "B", DOB, "D");

    EXPECT_EQ(vek.str.toString(),
              "UPDATE EmpDetail SET Catagoryx = 'A', NAME_ = 'B', ADDRESS_ = 'C', CITY = 'D', "
              "RESIDENTIAL_PHONE = 'E', MOBILE_No = 'F', Datex = '25/03/1970', DAYX = 25, "
              "MONTHX = 3, YEARX = 1970, SERVICE_No = 'G', REM_TYPE = 'H', EMAIL_ID = 'I', "
              "REMARK = 'J', Designation = 'K', EQUIPMENT = 'L', PROJECT = 'M', SBU = 'N', "
              "Other = 'O', code = 4, NameHindi = 'D' WHERE SN = 17");
    EXPECT_THAT(rows("select NAME_, Datex, DAYX, MONTHX, YEARX, Other, code from EmpDetail"),
                ElementsAre(ElementsAre("B", "25/03/1970", "25", "3", "1970", "O", "4")));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));
    EXPECT_EQ(DOB, "25/03/1970");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(EmployeeRecordsTest, UpdateEmpDetailWithADateOfBirthThatIsNoDate) {
    addEmployee(17, "Asha");
    exec({"update EmpDetail set Datex = #01/01/1980#, DAYX = 1, MONTHX = 1, YEARX = 1980"});
    std::string DOB = "abc";

    updateEmployee("17", "Asha", DOB, "");

    EXPECT_EQ(DOB, "");
    EXPECT_THAT(vek.str.toString(),
                HasSubstr("Datex = '', DAYX = 0, MONTHX = 0, YEARX = 0, SERVICE_No"));
    EXPECT_THAT(rows("select Datex, DAYX, MONTHX, YEARX from EmpDetail"),
                ElementsAre(ElementsAre("<Null>", "0", "0", "0")));
}

TEST_F(EmployeeRecordsTest, UpdateEmpDetailKeepsApostrophesAndHindiNamesAsTyped) {
    addEmployee(17, "Before");
    std::string DOB = "1970-03-25";

    updateEmployee("17", "O'Brien", DOB, "राम 'श्याम'");

    EXPECT_THAT(rows("select NAME_, NameHindi, Datex from EmpDetail"),
                ElementsAre(ElementsAre("O'Brien", "राम 'श्याम'", "25/03/1970")));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));
}

TEST_F(EmployeeRecordsTest, AFailingUpdateShowsTheErrorUnderTheApplicationsTitle) {
    addEmployee(17, "Before");
    std::string DOB = "25/03/1970";

    updateEmployee("17", "B", DOB, "", "NoSuchTable");

    ASSERT_EQ(shown().size(), 1U);
    EXPECT_THAT(shown()[0].prompt, HasSubstr("NoSuchTable"));
    EXPECT_EQ(shown()[0].buttons, vbOKOnly);
    EXPECT_EQ(shown()[0].title, "Quillet");
    // The jump skipped the closing of the connection.
    EXPECT_EQ(vek.Con->State(), kStateOpen);
}

TEST_F(EmployeeRecordsTest, RefusedPiecesFailTheUpdateBeforeAnySqlRuns) {
    addEmployee(17, "Before");
    vek.str = "before";
    std::string DOB = "25/03/1970";

    updateEmployee("17 or 1=1", "B", DOB, "");
    updateEmployee("17", "B", DOB, "", "EmpDetail SET NAME_ = 'x' --");

    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_EQ(storedValue("select NAME_ from EmpDetail").toString(), "Before");
    ASSERT_EQ(shown().size(), 2U);
    EXPECT_EQ(shown()[0].buttons, vbOKOnly);
    EXPECT_EQ(shown()[0].title, "Quillet");
    EXPECT_EQ(shown()[1].title, "Quillet");
}

TEST_F(EmployeeRecordsTest, UpdateAppPutsTodayForAnEmptyDateOfBirth) {
    addAppointment();
    std::string DOB;

    vek.UpdateApp("5", "Guest", "Asha Rao", "Addr", "Pune", "1", "2", DOB, "S", "IN", "e@x", "rem",
                  "Appointment");

    const Date now = today();
    EXPECT_EQ(DOB, todayText());
    EXPECT_THAT(vek.str.toString(), HasSubstr("Datex = #" + todayText() +
                                              "#, DAYX = " + std::to_string(now.day) + ","));
    EXPECT_THAT(vek.str.toString(), HasSubstr("REMARK = 'rem' WHERE SN = 5"));
    EXPECT_THAT(
        rows("select Datex, DAYX, MONTHX, YEARX, REMARK from Appointment"),
        ElementsAre(ElementsAre(todayText(), std::to_string(now.day), std::to_string(now.month),
                                std::to_string(now.year), "rem")));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));
}

TEST_F(EmployeeRecordsTest, UpdateAppWithAnApostropheInTheNameStoresIt) {
    addAppointment();
    std::string DOB = "02-Jan-1990";

    vek.UpdateApp("5", "Guest", "D'Souza", "Addr", "Pune", "1", "2", DOB, "S", "IN", "e@x", "",
                  "Appointment");

    EXPECT_EQ(DOB, "02-Jan-1990");
    EXPECT_THAT(rows("select NAME_, Datex, MONTHX from Appointment"),
                ElementsAre(ElementsAre("D'Souza", "02/01/1990", "1")));
}

// ---- deleteApp and deleteEmployed ---------------------------------------------------------

TEST_F(EmployeeRecordsTest, DeletesSayDeletedWhetherOrNotTheSerialHadARow) {
    addAppointment();
    exec({"insert into PersonEmployed (SN, NAME_) values(8,'Ravi')"});

    vek.deleteApp(5);
    vek.deleteEmployed(8);
    vek.deleteApp(5);
    vek.deleteEmployed(123);

    EXPECT_EQ(countRows("Appointment"), 0);
    EXPECT_EQ(countRows("PersonEmployed"), 0);
    EXPECT_EQ(vek.str.toString(), "Delete * from PersonEmployed where SN = 123");
    EXPECT_THAT(messages(), ElementsAre("Deleted|64|Info", "Deleted|64|Info", "Deleted|64|Info",
                                        "Deleted|64|Info"));
}

}  // namespace
}  // namespace quillet::testing
