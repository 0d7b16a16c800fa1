// Personnel records: the employee lookup and its copies into controls, the two employee inserts,
// the in-time updates and the manpower register.
#include <array>
#include <chrono>
#include <functional>
#include <thread>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

/// The caller's variables of one SavePersonnel call.
struct PersonnelForm {
    enum { kName = 1, kDesignation = 10 };
    /// The fifteen texts the save trims, in parameter order (date of birth and code aside).
    std::array<std::string, 15> texts = {"Staff",  "Asha Rao", "12 Hill Rd", "Pune",   "020-1",
                                         "98-1",   "S-9",      "OUT",        "a@x.in", "new",
                                         "Fitter", "Lathe",    "P-7",        "North",  "-"};
    std::string DOB = "25/03/1970";
    std::string hindiname = "आशा";

    bool saveWith(VekClass& vek, const std::string& table = "EmpDetail") {
        auto& t = texts;
        return vek.SavePersonnel(t[0], t[1], t[2], t[3], t[4], t[5], DOB, t[6], t[7], t[8], t[9],
                                 t[10], t[11], t[12], t[13], t[14], 4, hindiname, table);
    }
};

class PersonnelRecordsTest : public RecordsTest {};

TEST_F(PersonnelRecordsTest, SavePersonnelTrimsTheFifteenTextsInTheCallersVariables) {
    PersonnelForm form;
    for (std::string& text : form.texts) {
        text = "  " + text + " ";
    }
    form.hindiname = " आशा ";

    EXPECT_TRUE(form.saveWith(vek));

    EXPECT_EQ(form.texts, PersonnelForm().texts);
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{1}));
    EXPECT_EQ(vek.str.toString(),
              "insert into EmpDetail values(1,'Staff','Asha Rao','12 Hill Rd','Pune','020-1',"
              "'98-1','25/03/1970',25,3,1970,'S-9','OUT','a@x.in','new','Fitter','Lathe','P-7',1,"
              "'North','-',4,' आशा ')");
}

TEST_F(PersonnelRecordsTest, TheSerialAfterTheLargest32BitOneIsNoOverflow) {
    exec({"insert into EmpDetail (SN) values(2147483647)"});
    EXPECT_TRUE(PersonnelForm().saveWith(vek));
    EXPECT_EQ(vek.SN_, Variant(2147483648.0));
    EXPECT_THAT(rows("select max(SN) from EmpDetail"), ElementsAre(ElementsAre("2147483648")));
}

TEST_F(PersonnelRecordsTest, ABadDateOfBirthOrTableNameFailsTheSaveWithNothingWritten) {
    PersonnelForm form;
    form.DOB = "someday";
    EXPECT_FALSE(form.saveWith(vek));
    EXPECT_THAT(vek.str.toString(), HasSubstr(",'someday',0,0,0,"));

    PersonnelForm refused;
    refused.texts[PersonnelForm::kName] = " Asha ";
    vek.str = "before";
    EXPECT_FALSE(refused.saveWith(vek, "EmpDetail values(1) --"));
    EXPECT_EQ(vek.str.toString(), "before");
    EXPECT_EQ(refused.texts[PersonnelForm::kName], " Asha ");  // the jump skipped the trimming

    EXPECT_EQ(countRows("EmpDetail"), 0);
    EXPECT_TRUE(shown().empty());
}

// Every step that takes a serial and inserts under it, against a second writer: the save starts
// while the other connection holds the write lock, and that writer then takes serial 1 and
// commits. A save that read its serial outside its own write transaction would take 1 as well.
TEST_F(PersonnelRecordsTest, ASerialIsTakenInsideTheWriteThatUsesIt) {
    struct Writer {
        const char* table;
        std::function<bool(VekClass&)> save;
        std::string rival = "insert into " + std::string(table) + " (SN) values(1)";
        std::string serials = "select count(*), count(distinct SN) from " + std::string(table);
    };
    const std::vector<Writer> writers{
        {"EmpDetail", [](VekClass& v) { return PersonnelForm().saveWith(v); }},
        {"PARTNUMBER", [](VekClass& v) { return v.SaveItem("i", "p", "r", "PARTNUMBER"), true; }},
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
    for (const Writer& writer : writers) {
        SCOPED_TRACE(writer.table);
        auto other = openDefaultStore();
        other->BeginTrans();
        bool saved = false;
        std::thread saver([&] {
            VekClass own;
            EXPECT_NO_THROW(saved = writer.save(own));
        });
        // NOTE: long enough for the save to reach the lock on any machine we test on, far below
        // the store's busy wait; a slower start only makes the save read after the commit.
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Recordset rs;
        rs.Open(writer.rival, other, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
        other->CommitTrans();
        saver.join();
        EXPECT_TRUE(saved);
        EXPECT_THAT(rows(writer.serials), ElementsAre(ElementsAre("2", "2")));
    }
}

TEST_F(PersonnelRecordsTest, AssignToObjectPersonnelShowsADashForAnEmptyDesignation) {
    PersonnelForm form;
    form.texts[PersonnelForm::kDesignation] = "";
    form.texts[PersonnelForm::kName] = "O'Brien";
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

    EXPECT_EQ(boxes[0]->text(), "1");
    EXPECT_EQ(boxes[2]->text(), "O'Brien");
    EXPECT_EQ(boxes[8]->text(), "25/03/1970");
    EXPECT_EQ(boxes[11]->text(), "-");
    EXPECT_EQ(boxes[12]->text(), "old");  // a Null cannot become text: the control keeps its own
    EXPECT_EQ(boxes[7]->text(), "ओ'ब्रायन");

    // The older form sets only the first eleven.
    boxes = textBoxes(11);
    EXPECT_FALSE(vek.AssignToObjectPersonnelOLD(boxes[0], boxes[1], boxes[2], boxes[3], boxes[4],
                                                boxes[5], boxes[6], boxes[7], boxes[8], boxes[9],
                                                boxes[10]));
    EXPECT_EQ(boxes[10]->text(), "new");

    // Without a row the buffer is cleared, all but the serial.
    vek.FindPersonnelDetails("2");
    EXPECT_EQ(vek.SN_.toString(), "1");
    EXPECT_EQ(vek.NAME_, Variant(""));
}

TEST_F(PersonnelRecordsTest, SavePersonnelOldPutsTodayForAnEmptyDateAndRaisesAFailure) {
    exec({"insert into PersonEmployed (SN) values(17)"});
    std::string cat = " Guest ", name = " D'Souza ", address = " Addr ", city = " Goa ";
    std::string remark = " r ", DOB;

    EXPECT_TRUE(vek.SavePersonnelOLD(cat, name, address, city, " 1 ", "2", DOB, "S", "IN", "e@x",
                                     remark, "PersonEmployed"));

    EXPECT_EQ(DOB, todayText());
    EXPECT_EQ(remark, "r");
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{18}));
    EXPECT_THAT(
        rows("select NAME_, RESIDENTIAL_PHONE, Datex, YEARX from PersonEmployed "
             "where SN = 18"),
        ElementsAre(ElementsAre("D'Souza", " 1 ", todayText(), std::to_string(today().year))));
    EXPECT_EQ(vek.Con->State(), kStateClosed);

    EXPECT_THROW(vek.SavePersonnelOLD(cat, name, address, city, "", "", DOB, "", "", "", remark,
                                      "NoSuchTable"),
                 RuntimeError);
    EXPECT_TRUE(shown().empty());
}

TEST_F(PersonnelRecordsTest, UpdateInTimeLeavesTheEmailAddressAloneAndReportsAFailure) {
    exec({"insert into PersonEmployed (SN, EMAIL_ID) values(4,'kept@example.org')"});
    std::string DOB = "nonsense";

    vek.UpdateInTime("4", "Guest", "O'Neil", "A", "C", "1", "2", DOB, "S", "IN", "new@x", "rem",
                     "PersonEmployed");

    EXPECT_EQ(DOB, todayText());
    EXPECT_THAT(rows("select NAME_, EMAIL_ID, Datex from PersonEmployed"),
                ElementsAre(ElementsAre("O'Neil", "kept@example.org", todayText())));
    EXPECT_THAT(messages(), ElementsAre("UPDATED|64|INFORMATION"));

    vek.UpdateInTime("x", "", "", "", "", "", "", DOB, "", "", "", "", "PersonEmployed");
    ASSERT_EQ(shown().size(), 2U);
    EXPECT_EQ(shown()[1].title, "Quillet");
}

TEST_F(PersonnelRecordsTest, UpdatePersonnelRecordsTheArrivalTime) {
    exec({"insert into EmpDetail (SN, MOBILE_No) values(17, '98-1')"});

    EXPECT_TRUE(vek.UpdatePersonnel(17, "09:30", "EmpDetail"));

    EXPECT_THAT(rows("select MOBILE_No, REM_TYPE from EmpDetail"),
                ElementsAre(ElementsAre("09:30", "IN")));

    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "NoSuchTable"));
    EXPECT_FALSE(vek.UpdatePersonnel(17, "10:00", "EmpDetail --"));
    EXPECT_TRUE(shown().empty());
}

// ---- The manpower register ----------------------------------------------------------------

TEST_F(PersonnelRecordsTest, SaveManpowerMarksDaysOnOneRowPerMonthAndUpdateManPowerCountsThem) {
    for (const std::int16_t day : {1, 5, 5, 31}) {
        EXPECT_TRUE(
            vek.saveManpower(day, 3, "2024", "O'Brien", "Fitter", "S-9", "Lathe", "", "ManPower"));
    }
    vek.saveManpower(2, 4, "2024", "O'Brien", "Welder", "", "", "", "ManPower");
    vek.saveManpower(6, 3, "2024", "Someone else", "", "", "", "", "ManPower");

    EXPECT_THAT(rows("select SN, Name_, Designation, Month_, Year_, one_, two_, five_, "
                     "thirtyone_ from ManPower order by SN"),
                ElementsAre(ElementsAre("1", "O'Brien", "Fitter", "3", "2024", "1", "0", "1", "1"),
                            ElementsAre("2", "O'Brien", "Welder", "4", "2024", "0", "1", "0", "0"),
                            ElementsAre("3", "Someone else", "", "3", "2024", "0", "0", "0", "0")));
    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 3, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{3}));
    EXPECT_TRUE(vek.UpdateManPower("O'Brien", 2, 2024));
    EXPECT_EQ(vek.SN_, Variant(std::int32_t{0}));
}

TEST_F(PersonnelRecordsTest, ADayMonthOrYearOutOfRangeWritesNothing) {
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

    EXPECT_EQ(countRows("ManPower"), 0);
}

}  // namespace
}  // namespace quillet::testing
