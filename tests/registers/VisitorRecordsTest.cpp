#include <gtest/gtest.h>

#include <array>

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

// One stored visit, written by position.
std::string visitRow(int sn, const std::string& staffNo, const std::string& name) {
    return "insert into Visitor values(" + std::to_string(sn) + ",'Cat','Sub','" + name + "','" +
           staffNo +
           "','Desig','Unit','Purpose','Addr',#05/03/2024#,#06/03/2024#,#31/03/2024#,'Contact',"
           "'98','Rem','Area','Sys','WO-1',#01/02/2024#,#31/12/2024#)";
}

// The nineteen controls of the full visit view, in parameter order; the validity and
// work-order dates are date pickers.
struct VisitView {
    std::array<std::shared_ptr<FakeControl>, 19> c;
    VisitView() {
        for (std::size_t i = 0; i < c.size(); ++i) {
            const bool picker = i == 9 || i == 10 || i == 17 || i == 18;
            c[i] = picker ? FakeControl::datePicker() : FakeControl::textBox("old");
        }
    }
    void findBySerial(VekClass& vek, std::int16_t sn) {
        vek.FindVisitDetails(sn, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                             c[11], c[12], c[13], c[14], c[15], c[16], c[17], c[18]);
    }
    void findByStaffNo(VekClass& vek, const std::string& staffNo) {
        vek.FindVisitDetailsAsPerStaffNo(staffNo, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7],
                                         c[8], c[9], c[10], c[11], c[12], c[13], c[14], c[15],
                                         c[16], c[17], c[18]);
    }
    bool untouched() const {
        for (const auto& control : c) {
            if (control->sets() != 0) {
                return false;
            }
        }
        return true;
    }
};

bool saveVisit(VekClass& vek, const std::string& name, const std::string& workOrderDate) {
    return vek.SaveVisitor("A", "B", name, "1234", "D", "E", "F", "G", "05/03/2024", "5-Mar-2024",
                           "2024-03-31", "H", "98", "I", "J", "K", "WO-1", workOrderDate,
                           "31/Dec/2024", "Visitor");
}

bool updateVisit(VekClass& vek, std::int16_t sn, const std::string& name,
                 const std::string& validTo) {
    return vek.UpdateVisit(sn, "J2", "I2", "A2", "B2", name, "5678", "D2", "E2", "F2", "G2",
                           "03/05/2024", "05/03/2024", validTo, "H2", "99", "R2", "Visitor");
}

TEST(VisitorSave, NumbersFromOneThenAfterTheLargestAndStoresDates) {
    TempStore store;
    VekClass vek;
    ASSERT_TRUE(saveVisit(vek, "C", "01/02/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    EXPECT_EQ(storedValue("select SN from Visitor").toDouble(), 1);
    const Variant visited = storedValue("select DateOfVisit from Visitor");
    EXPECT_EQ(visited.type(), Variant::Type::Date);
    EXPECT_EQ(visited.toDate(), (Date{2024, 3, 5}));
    EXPECT_EQ(storedValue("select WorkOrderValidity from Visitor").toDate(), (Date{2024, 12, 31}));

    exec({"Delete * from Visitor", visitRow(7, "1", "X"), visitRow(3, "1", "Y")});
    ASSERT_TRUE(saveVisit(vek, "C", "01/02/2024"));
    EXPECT_EQ(vek.SN_.toDouble(), 8);
    EXPECT_EQ(vek.str.toString(),
              "insert into Visitor values(8,'A','B','C','1234','D','E','F','G',#05/Mar/2024#,"
              "#05/Mar/2024#,#31/Mar/2024#,'H','98','I','J','K','WO-1',#01/Feb/2024#,"
              "#31/Dec/2024#)");
    EXPECT_EQ(rows("select Name_, REMARK, System from Visitor where SN = 8"),
              (std::vector<std::vector<std::string>>{{"C", "I", "K"}}));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_TRUE(store.shown().empty());
}

TEST(VisitorSave, DateThatIsNotADateSavesNothing) {
    TempStore store;
    VekClass vek;
    EXPECT_FALSE(saveVisit(vek, "C", ""));
    EXPECT_FALSE(saveVisit(vek, "C", "30/02/2024"));
    EXPECT_FALSE(saveVisit(vek, "C", "01/02/2024#,#01/01/2024"));
    EXPECT_EQ(countRows("Visitor"), 0);
    EXPECT_EQ(vek.SN_.toDouble(), 1);
    EXPECT_TRUE(store.shown().empty());
}

TEST(VisitorSave, ApostropheIsSavedAsTypedAndBadTableNameRefused) {
    TempStore store;
    VekClass vek;
    ASSERT_TRUE(saveVisit(vek, "O'Brien", "01/02/2024"));
    EXPECT_EQ(storedValue("select Name_ from Visitor").toString(), "O'Brien");
    EXPECT_FALSE(vek.SaveVisitor("A", "B", "C", "1", "D", "E", "F", "G", "05/03/2024", "05/03/2024",
                                 "05/03/2024", "H", "98", "I", "J", "K", "WO", "05/03/2024",
                                 "05/03/2024", "Visitor; Delete * from Visitor"));
    EXPECT_EQ(countRows("Visitor"), 1);
}

TEST(VisitorUpdate, RewritesTheVisitButNeverItsWorkOrder) {
    TempStore store;
    exec({visitRow(8, "1234", "C"), visitRow(9, "1234", "Other")});
    VekClass vek;
    ASSERT_TRUE(updateVisit(vek, 8, "O'Neil", "31/03/2024"));
    EXPECT_EQ(vek.str.toString(),
              "UPDATE Visitor SET Catagoryx = 'A2', System = 'J2', Work_Area = 'I2', "
              "SubCategory_ = 'B2', Name_  = 'O''Neil', StaffNo = '5678', Designation = 'D2', "
              "Unit = 'E2', PurposeOfVisit = 'F2', Address_ = 'G2', DateOfVisit = #03/05/2024#, "
              "ValidFrom = '05/03/2024', ValidTo = '31/03/2024', ContactDetail = 'H2', "
              "MobileNo = '99', REMARK = 'R2' WHERE SN = 8");
    EXPECT_EQ(rows("select Name_, StaffNo, MobileNo, REMARK, WorkOrderNo, WorkOrderDate, "
                   "WorkOrderValidity, DateOfVisit from Visitor where SN = 8"),
              (std::vector<std::vector<std::string>>{{"O'Neil", "5678", "99", "R2", "WO-1",
                                                      "01/02/2024", "31/12/2024", "03/05/2024"}}));
    EXPECT_EQ(storedValue("select Name_ from Visitor where SN = 9").toString(), "Other");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST(VisitorUpdate, UnknownSerialChangesNothingAndABadDateFails) {
    TempStore store;
    exec({visitRow(8, "1234", "C")});
    VekClass vek;
    EXPECT_TRUE(updateVisit(vek, 5, "Z", "31/03/2024"));
    EXPECT_FALSE(updateVisit(vek, 8, "Z", "soon"));
    EXPECT_FALSE(vek.UpdateVisit(8, "J", "I", "A", "B", "Z", "1", "D", "E", "F", "G",
                                 "03/05/2024#, Name_ = 'hacked", "", "", "H", "9", "R", "Visitor"));
    EXPECT_EQ(storedValue("select Name_ from Visitor where SN = 8").toString(), "C");
    // An empty validity stores no date.
    EXPECT_TRUE(updateVisit(vek, 8, "Z", ""));
    EXPECT_TRUE(storedValue("select ValidTo from Visitor where SN = 8").isNull());
}

TEST(VisitorLookup, BySerialFillsTheNineteenControls) {
    TempStore store;
    exec({visitRow(4, "1234", "C")});
    VekClass vek;
    vek.Remarks_ = "x";
    VisitView view;
    view.findBySerial(vek, 4);
    EXPECT_EQ(view.c[2]->text(), "C");
    EXPECT_EQ(view.c[8]->text(), "05/03/2024");  // the date of the visit goes to a Text
    EXPECT_EQ(view.c[9]->value().toDate(), (Date{2024, 3, 6}));
    EXPECT_EQ(view.c[13]->text(), "Rem");
    EXPECT_EQ(view.c[15]->text(), "Sys");
    EXPECT_EQ(view.c[18]->value().toDate(), (Date{2024, 12, 31}));
    EXPECT_EQ(vek.Remarks_, "");
    EXPECT_EQ(vek.Con->State(), kStateClosed);

    VisitView unknown;
    vek.Remarks_ = "x";
    unknown.findBySerial(vek, 5);
    EXPECT_TRUE(unknown.untouched());
    EXPECT_EQ(vek.Remarks_, "");
}

TEST(VisitorLookup, ByStaffNumberShowsTheNewestVisit) {
    TempStore store;
    exec({visitRow(4, "1234", "Four"), visitRow(12, "1234", "Twelve"), visitRow(9, "1234", "Nine"),
          visitRow(20, "999", "Other")});
    VekClass vek;
    VisitView view;
    view.findByStaffNo(vek, "1234");
    EXPECT_EQ(view.c[2]->text(), "Twelve");
    EXPECT_EQ(vek.SN_.toDouble(), 12);
    EXPECT_EQ(vek.Con->State(), kStateClosed);

    VisitView unknown;
    view.findByStaffNo(vek, "4321");
    unknown.findByStaffNo(vek, "4321");
    EXPECT_TRUE(unknown.untouched());
    EXPECT_TRUE(vek.SN_.isNull());
    EXPECT_EQ(view.c[2]->text(), "Twelve");
}

TEST(VisitorLookup, ByStaffNoControlWritesDatesAsText) {
    TempStore store;
    exec({visitRow(3, "O''12", "Quote"), visitRow(4, "1234", "C")});
    VekClass vek;
    std::array<std::shared_ptr<FakeControl>, 14> c;
    for (auto& control : c) {
        control = FakeControl::textBox("old");
    }
    c[3] = FakeControl::textBox("O'12");
    vek.FindVisitAsPerStaffNo(0, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                              c[11], c[12], c[13]);
    EXPECT_EQ(c[2]->text(), "Quote");
    EXPECT_EQ(c[3]->text(), "O'12");
    EXPECT_EQ(c[8]->text(), "05/03/2024");
    EXPECT_EQ(c[9]->text(), "06/03/2024");
    EXPECT_EQ(c[10]->text(), "31/03/2024");
    EXPECT_EQ(c[13]->text(), "Rem");

    // A picker has no Text: that one control is skipped, the others are still set.
    c[9] = FakeControl::datePicker();
    c[2]->setProperty("Text", Variant("old"));
    c[3]->setProperty("Text", Variant("1234"));
    vek.FindVisitAsPerStaffNo(0, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                              c[11], c[12], c[13]);
    EXPECT_EQ(c[2]->text(), "C");
    EXPECT_EQ(c[9]->sets(), 0);
    EXPECT_EQ(c[10]->text(), "31/03/2024");
}

}  // namespace
}  // namespace quillet
