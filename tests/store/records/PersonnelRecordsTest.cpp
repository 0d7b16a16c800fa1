// Employee, appointment and personnel records, the manpower register, and the serials every
// numbered family takes.
#include <chrono>
#include <functional>
#include <thread>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

// Every save that numbers its rows.
struct Saver {
    const char* table;
    std::function<bool(VekClass&)> save;
    std::string rival = "insert into " + std::string(table) + " (SN) values(1)";
    std::string serials = "select count(*), count(distinct SN) from " + std::string(table);
};

const std::vector<Saver>& savers() {
    static const std::vector<Saver> all{
        {"EmpDetail", [](VekClass& v) { return PersonnelForm().saveWith(v); }},
        {"PersonEmployed",
         [](VekClass& v) {
             std::string cat = "G", name = "N", address = "A", city = "C", dob, remark = "r";
             return v.SavePersonnelOLD(cat, name, address, city, "1", "2", dob, "S", "IN", "e",
                                       remark, "PersonEmployed");
         }},
        {"ManPower",
         [](VekClass& v) {
             return v.saveManpower(1, 3, "2024", "N", "D", "S", "E", "P", "ManPower");
         }},
        {"Visitor",
         [](VekClass& v) {
             return v.SaveVisitor("A", "B", "C", "1234", "D", "E", "F", "G", "05/03/2024",
                                  "5-Mar-2024", "2024-03-31", "H", "98", "I", "J", "K", "WO-1",
                                  "01/02/2024", "31/Dec/2024", "Visitor");
         }},
        {"Cable",
         [](VekClass& v) { return v.SaveCable("C", "d", "p", "b", "o", "s", "r", "Cable"), true; }},
        {"PARTNUMBER", [](VekClass& v) { return v.SaveItem("i", "p", "r", "PARTNUMBER"), true; }},
        {"StatusItem",
         [](VekClass& v) { return v.SaveItemStatus("i", "p", "s", "OK", "StatusItem"), true; }},
        {"CableStatus",
         [](VekClass& v) { return v.UpdateStatus("CableNum", "C-1", "CableStatus", "ok"), true; },
         "insert into CableStatus (SN, CableNum) values(1, 'C-2')"},
        {"MailRecord",
         [](VekClass& v) {
             return v.SaveMailRecord("F/1", "14/02/2024", "Pune", "s", "r", "IN", "o",
                                     "MailRecord");
         }},
        {"MedicalRecord",
         [](VekClass& v) {
             return v.SaveMedicalRecord("M/1", "01/03/2024", "", "Asha", "S-1", "10", "", 5, "ok",
                                        "MedicalRecord");
         },
         "insert into MedicalRecord (SystemSN, FileNo, DATE_Forward, SN) "
         "values(1, 'M/1', #01/03/2024#, 1)",
         // One forwarding date and one file: both serials count through every row.
         "select count(*), min(count(distinct SystemSN), count(distinct SN)) from MedicalRecord"}};
    return all;
}

class PersonnelRecordsTest : public RecordsTest {
protected:
    static void addAppointment() {
        exec(
            {"insert into Appointment values(5,'Guest','Asha Rao','12 Hill Rd','Pune','020-1',"
             "'98-1',#25/03/1970#,25,3,1970,'S-9','OUT','asha@example.org','VIP')"});
    }
    // The full update of an employee with the given name, date of birth and Hindi name.
    void updateEmployee(const std::string& SNX, const std::string& name, std::string& DOB,
                        const std::string& hindi, const std::string& table = "EmpDetail") {
        vek.UpdateEmpDetail(SNX, "A", name, "C", "D", "E", "F", DOB, "G", "H", "I", "J", "K", "L",
                            "M", "N", "O", 4, hindi, table);
    }
};

// The largest serial plus one, where the last row's or the row count would give 4. Medical
// claims count per forwarding date and per file instead (MailMedicalRecordsTest).
TEST_F(PersonnelRecordsTest, EachSaveFollowsTheLargestSerialNotTheLastRow) {
    for (const Saver& saver : savers()) {
        const std::string table = saver.table;
        if (table == "MedicalRecord") {
            continue;
        }
        SCOPED_TRACE(table);
        exec({"insert into " + table + " (SN) values(7)",
              "insert into " + table + " (SN) values(3)"});
        ASSERT_TRUE(saver.save(vek));
        EXPECT_EQ(rows("select max(SN), count(*) from " + table), (Rows{{"8", "3"}}));
    }
}

TEST_F(PersonnelRecordsTest, TheNextSerialKeepsTheLargestOnesNumberTypeAndDoesNotOverflow) {
    // 17.5 is followed by 18.5, not 18 or 19; 2^31 - 1 by 2^31.
    exec({"insert into Cable (SN) values(17.5)", "insert into EmpDetail (SN) values(2147483647)"});
    vek.SaveCable("C-2", "d", "p", "b", "o", "s", "r", "Cable");
    EXPECT_EQ(vek.SN_, Variant(18.5));
    EXPECT_TRUE(PersonnelForm().saveWith(vek));
    EXPECT_EQ(vek.SN_, Variant(2147483648.0));
    EXPECT_THAT(rows("select max(SN) from EmpDetail"), ElementsAre(ElementsAre("2147483648")));
}

// Every step that takes a serial and inserts under it, against a second writer: the save starts
// while the other connection holds the write lock, and that writer then takes serial 1 and
// commits. A save that read its serial outside its own write transaction would take 1 as well.
TEST_F(PersonnelRecordsTest, ASerialIsTakenInsideTheWriteThatUsesIt) {
    for (const Saver& saver : savers()) {
        SCOPED_TRACE(saver.table);
        auto other = openDefaultStore();
        other->BeginTrans();
        bool saved = false;
        std::thread saving([&] {
            VekClass own;
            EXPECT_NO_THROW(saved = saver.save(own));
        });
        // NOTE: long enough for the save to reach the lock on any machine we test on, far below
        // the store's busy wait; a slower start only makes the save read after the commit.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Recordset rs;
        rs.Open(saver.rival, other, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
        other->CommitTrans();
        saving.join();
        EXPECT_TRUE(saved);
        EXPECT_THAT(rows(saver.serials), ElementsAre(ElementsAre("2", "2")));
    }
}

// Both inserts trim the caller's texts, SavePersonnel all but the Hindi name; a date of birth
// that is no date fails the one and becomes today in the other.
TEST_F(PersonnelRecordsTest, TheEmployeeInsertsTrimTheCallersTextsAndFailWithNothingWritten) {
    PersonnelForm form;
    for (std::string& text : form.texts) {
        text = "  " + text + " ";
    }
    form.hindiname = " आशा ";
    EXPECT_TRUE(form.saveWith(vek));
    EXPECT_EQ(form.texts, PersonnelForm().texts);
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_EQ(
        rows("select * from EmpDetail"),
        (Rows{{"1",     "Staff", "Asha Rao", "12 Hill Rd", "Pune", "020-1",  "98-1", "25/03/1970",
               "25",    "3",     "1970",     "S-9",        "OUT",  "a@x.in", "new",  "Fitter",
               "Lathe", "P-7",   "1",        "North",      "-",    "4",      " आशा "}}));

    PersonnelForm refused;
    refused.texts[PersonnelForm::kName] = " Asha ";
    EXPECT_FALSE(refused.saveWith(vek, "EmpDetail values(1) --"));
    EXPECT_EQ(refused.texts[PersonnelForm::kName], " Asha ");  // the jump skipped the trimming
    refused.DOB = "someday";
    EXPECT_FALSE(refused.saveWith(vek));
    EXPECT_EQ(countRows("EmpDetail"), 1);

    std::string cat = " Guest ", name = " D'Souza ", address = " Addr ", city = " Goa ";
    std::string remark = " r ", DOB;
    EXPECT_TRUE(vek.SavePersonnelOLD(cat, name, address, city, " 1 ", "2", DOB, "S", "IN", "e@x",
                                     remark, "PersonEmployed"));
    EXPECT_EQ(DOB, todayText());
    EXPECT_EQ(remark, "r");
    EXPECT_THAT(
        rows("select NAME_, RESIDENTIAL_PHONE, Datex, YEARX from PersonEmployed"),
        ElementsAre(ElementsAre("D'Souza", " 1 ", todayText(), std::to_string(today().year))));
    EXPECT_THROW(vek.SavePersonnelOLD(cat, name, address, city, "", "", DOB, "", "", "", remark,
                                      "NoSuchTable"),
                 RuntimeError);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, AssignToObjectPersonnelShowsADashForAnEmptyDesignation) {
    PersonnelForm form;
    form.texts[PersonnelForm::kDesignation] = "";
    form.hindiname = "ओ'ब्रायन";
    ASSERT_TRUE(form.saveWith(vek));
    vek.FindPersonnelDetails("1");
    vek.equ_ = Variant::null();
    auto boxes = textBoxes(17);
    auto noText = FakeControl::withoutProperties();

    EXPECT_FALSE(vek.AssignToObjectPersonnel(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                                             boxes[5], boxes[6], noText, boxes[8], boxes[9],
                                             boxes[10], boxes[11], boxes[12], boxes[13], boxes[14],
                                             boxes[15], boxes[16], boxes[7]));

    // The Hindi name goes to the last control; a Null cannot become text, so the control for the
    // equipment keeps its own.
    EXPECT_EQ(textsOf(boxes),
              (std::vector<std::string>{"1", "Staff", "Asha Rao", "12 Hill Rd", "Pune", "020-1",
                                        "98-1", "ओ'ब्रायन", "25/03/1970", "a@x.in", "new", "-",
                                        "old", "P-7", "North", "-", "4"}));

    // The older form sets only the first eleven.
    boxes = textBoxes(11);
    EXPECT_FALSE(vek.AssignToObjectPersonnelOLD(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                                                boxes[5], boxes[6], boxes[7], boxes[8], boxes[9],
                                                boxes[10]));
    EXPECT_EQ(textsOf(boxes),
              (std::vector<std::string>{"1", "Staff", "Asha Rao", "12 Hill Rd", "Pune", "020-1",
                                        "98-1", "S-9", "25/03/1970", "a@x.in", "new"}));

    // Without a row the buffer is cleared, all but the serial.
    vek.FindPersonnelDetails("2");
    EXPECT_EQ(vek.SN_.toString(), "1");
    EXPECT_EQ(vek.NAME_, Variant(""));
}

TEST_F(PersonnelRecordsTest, TheLookupsFillTheBufferOrGiveNothingNeverALeftOver) {
    addAppointment();
    exec({"insert into EmpDetail (SN, NAME_) values(17, 'O''Brien')",
          "insert into EmpDetail (SN, NAME_) values(40000, 'Far')"});
    EXPECT_EQ(vek.FindSlofEmmpDetail("O'Brien"), 17);
    EXPECT_EQ(vek.FindSlofEmmpDetail("Nobody"), 0);
    // A serial beyond an integer overflows; the lookup goes on and gives 0.
    EXPECT_EQ(vek.FindSlofEmmpDetail("Far"), 0);

    vek.Findapp("5");
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));
    EXPECT_EQ(vek.DATEX_, Variant(Date{1970, 3, 25}));
    EXPECT_EQ(vek.Remarks_, "VIP");

    vek.Findapp("6");  // a missing row only clears the remarks
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.NAME_, Variant("Asha Rao"));
    vek.NAME_ = "kept";
    vek.Findapp("5 or 1=1");
    EXPECT_EQ(vek.NAME_, Variant("kept"));
}

TEST_F(PersonnelRecordsTest, UpdateEmpDetailWritesEveryColumnAndEmptiesADateThatIsNoDate) {
    exec({"insert into EmpDetail (SN, NAME_) values(17, 'Before')"});
    std::string DOB = "25/03/1970";

    updateEmployee("17", "O'Brien", DOB, "राम");

    EXPECT_EQ(
        rows("select * from EmpDetail"),
        (Rows{{"17", "A", "O'Brien", "C", "D", "E", "F",      "25/03/1970", "25", "3", "1970", "G",
               "H",  "I", "J",       "K", "L", "M", "<Null>", "N",          "O",  "4", "राम"}}));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));

    DOB = "abc";
    updateEmployee("17", "Asha", DOB, "");

    EXPECT_EQ(DOB, "");
    EXPECT_THAT(rows("select Datex, DAYX, MONTHX, YEARX from EmpDetail"),
                ElementsAre(ElementsAre("<Null>", "0", "0", "0")));

    // A failing or refused update shows the error under the application's title, changing nothing;
    // the arrival time's update fails silently.
    updateEmployee("17", "B", DOB, "", "NoSuchTable");
    updateEmployee("17 or 1=1", "B", DOB, "");
    updateEmployee("17", "B", DOB, "", "EmpDetail SET NAME_ = 'x' --");
    EXPECT_TRUE(vek.UpdatePersonnel(17, "09:30", "EmpDetail"));
    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "NoSuchTable"));
    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "EmpDetail --"));

    EXPECT_THAT(rows("select NAME_, MOBILE_No, REM_TYPE from EmpDetail"),
                ElementsAre(ElementsAre("Asha", "09:30", "IN")));
    ASSERT_EQ(shown().size(), 5U);
    EXPECT_THAT(shown()[2].prompt, HasSubstr("NoSuchTable"));
    for (std::size_t i = 2; i < shown().size(); ++i) {
        EXPECT_EQ(shown()[i].title, "Quillet");
    }
}

// Both updates of the appointment layout put today into a date of birth that is no date;
// UpdateInTime leaves the e-mail address alone.
TEST_F(PersonnelRecordsTest, UpdateAppAndUpdateInTimePutTodayForADateThatIsNoDate) {
    addAppointment();
    exec({"insert into PersonEmployed (SN, EMAIL_ID) values(4,'kept@example.org')"});
    std::string DOB, badDOB = "nonsense";

    vek.UpdateApp("5", "Guest", "D'Souza", "Addr", "Pune", "1", "2", DOB, "S", "IN", "e@x", "rem",
                  "Appointment");
    vek.UpdateInTime("4", "Guest", "O'Neil", "A", "C", "1", "2", badDOB, "S", "IN", "new@x", "rem",
                     "PersonEmployed");

    const Date now = today();
    EXPECT_EQ(DOB, todayText());
    EXPECT_EQ(badDOB, todayText());
    EXPECT_THAT(rows("select NAME_, Datex, DAYX, MONTHX, YEARX from Appointment"),
                ElementsAre(ElementsAre("D'Souza", todayText(), std::to_string(now.day),
                                        std::to_string(now.month), std::to_string(now.year))));
    EXPECT_THAT(rows("select NAME_, EMAIL_ID, Datex from PersonEmployed"),
                ElementsAre(ElementsAre("O'Neil", "kept@example.org", todayText())));

    vek.UpdateInTime("x", "", "", "", "", "", "", DOB, "", "", "", "", "PersonEmployed");
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION", "UPDATED|64|INFORMATION",
                                        HasSubstr("|Quillet")));
}

TEST_F(PersonnelRecordsTest, SaveManpowerMarksDaysOnOneRowPerMonthAndUpdateManPowerCountsThem) {
    for (const std::int16_t day : {1, 5, 5, 31}) {
        EXPECT_TRUE(
            vek.saveManpower(day, 3, "2024", "O'Brien", "Fitter", "S-9", "Lathe", "", "ManPower"));
    }
    vek.saveManpower(2, 4, "2024", "O'Brien", "Welder", "", "", "", "ManPower");
    vek.saveManpower(6, 3, "2024", "Someone else", "", "", "", "", "ManPower");

    EXPECT_THAT(rows("select SN, Name_, Designation, Month_, one_, two_, five_, thirtyone_ "
                     "from ManPower order by SN"),
                ElementsAre(ElementsAre("1", "O'Brien", "Fitter", "3", "1", "0", "1", "1"),
                            ElementsAre("2", "O'Brien", "Welder", "4", "0", "1", "0", "0"),
                            ElementsAre("3", "Someone else", "", "3", "0", "0", "0", "0")));
    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 3, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{3}));
    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 2, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{0}));

    // A day, month or year out of range writes nothing.
    vek.SN_ = "kept";
    for (const auto& [day, month] :
         std::vector<std::pair<std::int16_t, std::int16_t>>{{0, 3}, {32, 3}, {1, 13}, {1, 0}}) {
        EXPECT_FALSE(vek.saveManpower(day, month, "2024", "Asha", "", "", "", "", "ManPower"));
    }
    EXPECT_FALSE(vek.UpdateManPower("Asha", 13, 2024));
    EXPECT_EQ(vek.SN_, Variant("kept"));
    EXPECT_THROW(vek.saveManpower(1, 3, "2024 or 1=1", "Asha", "", "", "", "", "ManPower"),
                 RuntimeError);
    EXPECT_THROW(vek.saveManpower(1, 3, "2024", "Asha", "", "", "", "", "Man Power"), RuntimeError);
    EXPECT_EQ(countRows("ManPower"), 3);
}

}  // namespace
}  // namespace quillet::testing
