// Employee and appointment records: lookups into the record buffer, the cable details lookup and
// its copy into controls, and the two updates.
#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

class EmployeeRecordsTest : public RecordsTest {
protected:
    static void addAppointment() {
        exec(
            {"insert into Appointment values(5,'Guest','Asha Rao','12 Hill Rd','Pune','020-1',"
             "'98-1',#25/03/1970#,25,3,1970,'S-9','OUT','asha@example.org','VIP')"});
    }
    static void addEmployee(int sn, const std::string& name) {
        exec({"insert into EmpDetail (SN, NAME_, Designation) values(" + std::to_string(sn) + ",'" +
              name + "','Fitter')"});
    }
    // The full update of an employee with the given name, date of birth and Hindi name.
    void updateEmployee(const std::string& SNX, const std::string& name, std::string& DOB,
                        const std::string& hindi, const std::string& table = "EmpDetail") {
        vek.UpdateEmpDetail(SNX, "A", name, "C", "D", "E", "F", DOB, "G", "H", "I", "J", "K", "L",
                            "M", "N", "O", 4, hindi, table);
    }
};

TEST_F(EmployeeRecordsTest, FindappFillsTheBufferAndAMissingRowOnlyClearsTheRemarks) {
    addAppointment();

    vek.Findapp("5");

    EXPECT_EQ(vek.SN_.toString(), "5");
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));
    EXPECT_EQ(vek.DATEX_, Variant(Date{1970, 3, 25}));
    EXPECT_EQ(vek.Remarks_, "VIP");

    vek.Findapp("6");
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));

    vek.str = "before";
    vek.Findapp("5 or 1=1");
    EXPECT_EQ(vek.str.toString(), "before");
}

TEST_F(EmployeeRecordsTest, FindSlofEmmpDetailGivesTheSerialOrZeroNeverALeftOver) {
    addEmployee(17, "O''Brien");
    addEmployee(40000, "Far");

    EXPECT_EQ(vek.FindSlofEmmpDetail("O'Brien"), 17);
    EXPECT_EQ(vek.FindSlofEmmpDetail("Nobody"), 0);
    // A serial beyond an integer overflows; the lookup goes on and gives 0.
    EXPECT_EQ(vek.FindSlofEmmpDetail("Far"), 0);
}

// Three cables with one connector description; their remarks are x, Null and y.
void addCables() {
    exec({"insert into Cable values(1,'C-1','Plug','P1','B1','T1','S1','x')",
          "insert into Cable values(2,'C-2','Plug','P2','B2','T2','S2',Null)",
          "insert into Cable values(3,'C-3','Plug','P3','B3','T3','S3','y')",
          "insert into CableStatus values(1,'C-1',#01/01/2024#,'first')",
          "insert into CableStatus values(2,'C-3',#01/01/2024#,'third')"});
}

TEST_F(EmployeeRecordsTest, FindDetailsJoinsTheRemarksTakesTheLastCableAndEndsOnAFailure) {
    addCables();

    vek.FindDetails("ConnDesc", "Plug", "Cable");

    EXPECT_EQ(vek.Remarks_, "x  -     -   y");
    EXPECT_EQ(vek.CableNum_, Variant("C-3"));
    EXPECT_EQ(vek.ConnPartNo_, Variant("P3"));
    EXPECT_EQ(vek.Statusx_, Variant("third"));

    // A missing table or a refused name ends the walk with the remarks emptied.
    vek.FindDetails("CableNum", "C-1", "NoSuchCables");
    EXPECT_EQ(vek.Remarks_, "");
    vek.FindDetails("CableNum = CableNum or CableNum", "C-1", "Cable");
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_TRUE(shown().empty());
}

TEST_F(EmployeeRecordsTest, AssignToObjectCopiesTheCableAndSkipsWhatFails) {
    addCables();
    vek.FindDetails("CableNum", "C-1", "Cable");
    vek.Boot_ = Variant::null();
    auto boxes = textBoxes(7);
    auto noText = FakeControl::withoutProperties();

    EXPECT_FALSE(
        vek.AssignToObject(boxes[0], noText, boxes[2], boxes[3], boxes[4], boxes[5], boxes[6]));

    EXPECT_EQ(boxes[0]->text(), "Plug");
    EXPECT_EQ(boxes[2]->text(), "B1");
    EXPECT_EQ(boxes[3]->text(), "old");  // a Null cannot become text
    EXPECT_EQ(boxes[5]->text(), "x");
    EXPECT_EQ(boxes[6]->text(), "first");
}

TEST_F(EmployeeRecordsTest, UpdateEmpDetailWritesEveryColumnAndEmptiesADateThatIsNoDate) {
    addEmployee(17, "Before");
    std::string DOB = "25/03/1970";

    updateEmployee("17", "O'Brien", DOB, "राम");

    EXPECT_EQ(vek.str.toString(),
              "UPDATE EmpDetail SET Catagoryx = 'A', NAME_ = 'O''Brien', ADDRESS_ = 'C', "
              "CITY = 'D', RESIDENTIAL_PHONE = 'E', MOBILE_No = 'F', Datex = '25/03/1970', "
              "DAYX = 25, MONTHX = 3, YEARX = 1970, SERVICE_No = 'G', REM_TYPE = 'H', "
              "EMAIL_ID = 'I', REMARK = 'J', Designation = 'K', EQUIPMENT = 'L', PROJECT = 'M', "
              "SBU = 'N', Other = 'O', code = 4, NameHindi = 'राम' WHERE SN = 17");
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));

    DOB = "abc";
    updateEmployee("17", "Asha", DOB, "");

    EXPECT_EQ(DOB, "");
    EXPECT_THAT(rows("select Datex, DAYX, MONTHX, YEARX from EmpDetail"),
                ElementsAre(ElementsAre("<Null>", "0", "0", "0")));
}

TEST_F(EmployeeRecordsTest, AFailingOrRefusedUpdateShowsTheErrorUnderTheApplicationsTitle) {
    addEmployee(17, "Before");
    std::string DOB = "25/03/1970";

    updateEmployee("17", "B", DOB, "", "NoSuchTable");
    // The jump skipped the closing of the connection.
    EXPECT_EQ(vek.Con->State(), kStateOpen);
    vek.str = "before";
    updateEmployee("17 or 1=1", "B", DOB, "");
    updateEmployee("17", "B", DOB, "", "EmpDetail SET NAME_ = 'x' --");

    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_THAT(rows("select NAME_ from EmpDetail"), ElementsAre(ElementsAre("Before")));
    ASSERT_EQ(shown().size(), 3U);
    EXPECT_THAT(shown()[0].prompt, HasSubstr("NoSuchTable"));
    for (const auto& m : shown()) {
        EXPECT_EQ(m.title, "Quillet");
    }
}

TEST_F(EmployeeRecordsTest, UpdateAppPutsTodayForAnEmptyDateOfBirth) {
    addAppointment();
    std::string DOB;

    vek.UpdateApp("5", "Guest", "D'Souza", "Addr", "Pune", "1", "2", DOB, "S", "IN", "e@x", "rem",
                  "Appointment");

    const Date now = today();
    EXPECT_EQ(DOB, todayText());
    EXPECT_THAT(rows("select NAME_, Datex, DAYX, MONTHX, YEARX from Appointment"),
                ElementsAre(ElementsAre("D'Souza", todayText(), std::to_string(now.day),
                                        std::to_string(now.month), std::to_string(now.year))));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));
}

}  // namespace
}  // namespace quillet::testing
