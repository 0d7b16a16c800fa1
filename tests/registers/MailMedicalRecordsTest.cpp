#include <gtest/gtest.h>

#include "VekClass.h"
#include "registers/RegisterStore.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

using testing::countRows;
using testing::exec;
using testing::FakeControl;
using testing::rows;
using testing::storedValue;
using testing::TempStore;
using Rows = std::vector<std::vector<std::string>>;

bool saveMail(VekClass& vek, const std::string& subject, const std::string& date = "14/02/2024") {
    return vek.SaveMailRecord("F/1", date, "Pune", subject, "R", "IN", "O", "MailRecord");
}

bool saveClaim(VekClass& vek, const std::string& fileNo, const std::string& forwarded,
               const std::string& amount = "1500.5", const std::string& returned = "") {
    return vek.SaveMedicalRecord(fileNo, forwarded, "77", "Asha", "S-1", amount, returned, 1200.25,
                                 "ok", "MedicalRecord");
}

TEST(MailRecords, SaveNumbersFromOneAndSaysSaved) {
    TempStore store;
    VekClass vek;
    ASSERT_TRUE(saveMail(vek, "First"));
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    ASSERT_EQ(store.shown().size(), 1u);
    EXPECT_EQ(store.shown()[0].prompt, "Saved");
    EXPECT_EQ(store.shown()[0].title, "Info");
    EXPECT_EQ(store.shown()[0].buttons, 64);
    ASSERT_TRUE(saveMail(vek, "Second"));
    EXPECT_EQ(vek.str.toString(),
              "insert into MailRecord values(2,'F/1',#14/02/2024#,'Pune','Second','R','IN','O')");
    EXPECT_EQ(rows("select SN, Date_, Subject_ from MailRecord order by SN"),
              (Rows{{"1", "14/02/2024", "First"}, {"2", "14/02/2024", "Second"}}));
    EXPECT_EQ(storedValue("select Date_ from MailRecord").type(), Variant::Type::Date);
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST(MailRecords, ApostropheInSubjectIsSavedAsTyped) {
    TempStore store;
    VekClass vek;
    ASSERT_TRUE(saveMail(vek, "Director's visit"));
    EXPECT_EQ(storedValue("select Subject_ from MailRecord").toString(), "Director's visit");
}

TEST(MailRecords, FailedSaveShowsNothingAndWritesNothing) {
    TempStore store;
    VekClass vek;
    EXPECT_FALSE(saveMail(vek, "s", ""));
    EXPECT_FALSE(saveMail(vek, "s", "14/02/2024#,'x"));
    EXPECT_FALSE(vek.SaveMailRecord("F", "14/02/2024", "P", "S", "R", "IN", "O", "Mail Record"));
    EXPECT_FALSE(vek.SaveMailRecord("F", "14/02/2024", "P", "S", "R", "IN", "O", "NoSuchTable"));
    EXPECT_EQ(countRows("MailRecord"), 0);
    EXPECT_TRUE(store.shown().empty());
}

TEST(MailRecords, FindCopiesTheRecordOrLeavesTheMembers) {
    TempStore store;
    exec({"insert into MailRecord values(1,'F/1',#14/02/2024#,'Pune','Subj','Rem','IN',Null)",
          "insert into MailRecord values(2,'F/2',#15/02/2024#,'Agra','S2','R2','OUT','Oth')"});
    VekClass vek;
    vek.FindMailDetails("MailRecord", 2);
    EXPECT_EQ(vek.FileNo.toString(), "F/2");
    EXPECT_EQ(vek.Date_.toDate(), (Date{2024, 2, 15}));
    EXPECT_EQ(vek.Subject.toString(), "S2");
    EXPECT_EQ(vek.Other, "Oth");

    vek.FindMailDetails("MailRecord", 9);  // no such serial: nothing changes
    EXPECT_EQ(vek.FileNo.toString(), "F/2");
    EXPECT_EQ(vek.Place.toString(), "Agra");
    EXPECT_EQ(vek.remark.toString(), "R2");
    EXPECT_EQ(vek.In_Out.toString(), "OUT");
    EXPECT_EQ(vek.Other, "Oth");

    vek.FindMailDetails("MailRecord", 1);  // Null Other: the six others are still copied
    EXPECT_EQ(vek.FileNo.toString(), "F/1");
    EXPECT_EQ(vek.remark.toString(), "Rem");
    EXPECT_EQ(vek.In_Out.toString(), "IN");
    EXPECT_EQ(vek.Other, "Oth");
    EXPECT_EQ(vek.str.toString(), "Select * from MailRecord where SN  = 1");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_TRUE(store.shown().empty());
}

TEST(MedicalRecords, CountsSerialsPerForwardingDateAndPerFile) {
    TempStore store;
    VekClass vek;
    ASSERT_TRUE(saveClaim(vek, "M/1", "01/03/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    EXPECT_EQ(vek.DateSN, 1);
    ASSERT_TRUE(saveClaim(vek, "M/2", "01/03/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 2);
    EXPECT_EQ(vek.DateSN, 1);
    ASSERT_TRUE(saveClaim(vek, "M/1", "02/03/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    EXPECT_EQ(vek.DateSN, 2);
    ASSERT_TRUE(saveClaim(vek, "M/3", "1-Mar-2024", "10", "05/04/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 3);
    EXPECT_EQ(vek.str.toString(),
              "insert into MedicalRecord values(3,'M/3',#1-Mar-2024#,1,'Asha','S-1',10,"
              "'05/04/2024',1200.25,'ok')");
    EXPECT_EQ(rows("select SystemSN, FileNo, DATE_Forward, SN, Amount_Claimed, Date_Return, "
                   "Amount_Passed from MedicalRecord order by DATE_Forward, SystemSN"),
              (Rows{{"1", "M/1", "01/03/2024", "1", "1500.5", "<Null>", "1200.25"},
                    {"2", "M/2", "01/03/2024", "1", "1500.5", "<Null>", "1200.25"},
                    {"3", "M/3", "01/03/2024", "1", "10", "05/04/2024", "1200.25"},
                    {"1", "M/1", "02/03/2024", "2", "1500.5", "<Null>", "1200.25"}}));
    EXPECT_TRUE(store.shown().empty());
}

TEST(MedicalRecords, BadAmountOrDateSavesNothing) {
    TempStore store;
    VekClass vek;
    EXPECT_FALSE(saveClaim(vek, "M/1", "01/03/2024", ""));
    EXPECT_FALSE(saveClaim(vek, "M/1", "01/03/2024", "1,500"));
    EXPECT_FALSE(saveClaim(vek, "M/1", "01/03/2024", "1); Delete * from MedicalRecord"));
    EXPECT_FALSE(saveClaim(vek, "M/1", "", "10"));
    EXPECT_FALSE(saveClaim(vek, "M/1", "01/03/2024", "10", "later"));
    EXPECT_EQ(countRows("MedicalRecord"), 0);
    EXPECT_TRUE(store.shown().empty());
}

TEST(MedicalRecords, FindFillsEachControlFromItsOwnColumn) {
    TempStore store;
    exec(
        {"insert into MedicalRecordHindi values(4,'M/9',#01/03/2024#,2,'Ravi','S-9',300,Null,"
         "250,'Part')"});
    std::vector<std::shared_ptr<FakeControl>> c;
    for (int i = 0; i < 9; ++i) {
        c.push_back(i == 1 || i == 6 ? FakeControl::datePicker() : FakeControl::textBox("old"));
    }
    VekClass vek;
    vek.FindNedicalDetails("MedicalRecordHindi", 2, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7],
                           c[8]);
    EXPECT_EQ(c[0]->text(), "M/9");
    EXPECT_EQ(c[1]->value().toDate(), (Date{2024, 3, 1}));
    EXPECT_EQ(c[2]->text(), "2");
    EXPECT_EQ(c[3]->text(), "Ravi");
    EXPECT_EQ(c[4]->text(), "S-9");
    EXPECT_EQ(c[5]->text(), "300");
    EXPECT_EQ(c[6]->sets(), 1);  // a picker takes the Null: no date
    EXPECT_TRUE(c[6]->value().isNull());
    EXPECT_EQ(c[7]->text(), "250");
    EXPECT_EQ(c[8]->text(), "Part");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

}  // namespace
}  // namespace quillet
