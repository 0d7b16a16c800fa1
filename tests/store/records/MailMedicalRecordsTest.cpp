// Mail and medical claim records: saves under their serials and the lookups back.
#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

class MailMedicalRecordsTest : public RecordsTest {
protected:
    bool saveMail(const std::string& date, const std::string& table = "MailRecord") {
        return vek.SaveMailRecord("F/1", date, "Pune", "Director's visit", "R", "IN", "O", table);
    }
    bool saveClaim(const std::string& fileNo, const std::string& forwarded,
                   const std::string& amount = "1500.5", const std::string& returned = "") {
        return vek.SaveMedicalRecord(fileNo, forwarded, "77", "Asha", "S-1", amount, returned,
                                     1200.25, "ok", "MedicalRecord");
    }
};

TEST_F(MailMedicalRecordsTest, SaveMailStoresTheDateAsADateAndFailsSilently) {
    ASSERT_TRUE(saveMail("14/02/2024"));
    EXPECT_EQ(rows("select Date_, Subject_ from MailRecord"),
              (Rows{{"14/02/2024", "Director's visit"}}));
    EXPECT_EQ(storedValue("select Date_ from MailRecord").type(), Variant::Type::Date);

    EXPECT_FALSE(saveMail(""));
    EXPECT_FALSE(saveMail("14/02/2024#,'x"));
    EXPECT_FALSE(saveMail("14/02/2024", "Mail Record"));
    EXPECT_FALSE(saveMail("14/02/2024", "NoSuchTable"));
    EXPECT_EQ(countRows("MailRecord"), 1);
    EXPECT_EQ(messages(), std::vector<std::string>(1, "Saved|64|Info"));
}

TEST_F(MailMedicalRecordsTest, FindMailDetailsCopiesTheRecordOrLeavesTheMembers) {
    exec({"insert into MailRecord values(1,'F/1',#14/02/2024#,'Pune','Subj','Rem','IN',Null)",
          "insert into MailRecord values(2,'F/2',#15/02/2024#,'Agra','S2','R2','OUT','Oth')"});
    vek.FindMailDetails("MailRecord", 2);
    EXPECT_EQ(vek.Date_.toDate(), (Date{2024, 2, 15}));
    EXPECT_EQ(vek.Other, "Oth");

    vek.FindMailDetails("MailRecord", 9);  // no such serial: nothing changes
    EXPECT_EQ(vek.FileNo.toString(), "F/2");

    vek.FindMailDetails("MailRecord", 1);  // Null Other: the six others are still copied
    EXPECT_EQ(vek.In_Out.toString(), "IN");
    EXPECT_EQ(vek.Other, "Oth");
}

TEST_F(MailMedicalRecordsTest,
       SaveMedicalCountsSerialsPerForwardingDateAndPerFileAndRefusesBadValues) {
    ASSERT_TRUE(saveClaim("M/1", "01/03/2024"));
    ASSERT_TRUE(saveClaim("M/2", "01/03/2024"));
    ASSERT_TRUE(saveClaim("M/3", "1-Mar-2024", "10", "05/04/2024"));
    ASSERT_TRUE(saveClaim("M/1", "02/03/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    EXPECT_EQ(vek.DateSN, 2);

    EXPECT_EQ(rows("select SystemSN, FileNo, DATE_Forward, SN, Amount_Claimed, Date_Return "
                   "from MedicalRecord order by DATE_Forward, SystemSN"),
              (Rows{{"1", "M/1", "01/03/2024", "1", "1500.5", "<Null>"},
                    {"2", "M/2", "01/03/2024", "1", "1500.5", "<Null>"},
                    {"3", "M/3", "01/03/2024", "1", "10", "05/04/2024"},
                    {"1", "M/1", "02/03/2024", "2", "1500.5", "<Null>"}}));

    EXPECT_FALSE(saveClaim("M/1", "01/03/2024", ""));
    EXPECT_FALSE(saveClaim("M/1", "01/03/2024", "1,500"));
    EXPECT_FALSE(saveClaim("M/1", "01/03/2024", "1); Delete * from MedicalRecord"));
    EXPECT_FALSE(saveClaim("M/1", "", "10"));
    EXPECT_FALSE(saveClaim("M/1", "01/03/2024", "10", "later"));
    EXPECT_EQ(countRows("MedicalRecord"), 4);
    EXPECT_TRUE(shown().empty());
}

TEST_F(MailMedicalRecordsTest, FindMedicalDetailsFillsEachControlFromItsOwnColumn) {
    exec(
        {"insert into MedicalRecordHindi values(4,'M/9',#01/03/2024#,2,'Ravi','S-9',300,"
         "#15/04/2024#,250,'Part')"});
    auto c = textBoxes(9);
    c[1] = FakeControl::datePicker();
    c[6] = FakeControl::datePicker();
    const auto find = [&] {
        vek.FindNedicalDetails("MedicalRecordHindi", 2, c[0], c[1], c[2], c[3], c[4], c[5], c[6],
                               c[7], c[8]);
    };
    find();
    // Every column holds a value no other control's column holds.
    EXPECT_EQ(c[1]->value().toDate(), (Date{2024, 3, 1}));
    EXPECT_EQ(c[6]->value().toDate(), (Date{2024, 4, 15}));
    EXPECT_EQ(textsOf(c),
              (std::vector<std::string>{"M/9", "", "2", "Ravi", "S-9", "300", "", "250", "Part"}));

    exec({"UPDATE MedicalRecordHindi SET Date_Return = Null"});
    find();
    EXPECT_TRUE(c[6]->value().isNull());  // a picker takes the Null: no date
}

}  // namespace
}  // namespace quillet::testing
