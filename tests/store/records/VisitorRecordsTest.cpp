// Visitor records: the save, the update that keeps the work order, and the three lookups into
// controls.
#include <algorithm>

#include "RecordsFixture.h"

namespace quillet::testing {
namespace {

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
    std::vector<std::shared_ptr<FakeControl>> c = textBoxes(19);
    VisitView() {
        for (const std::size_t picker : {9, 10, 17, 18}) {
            c[picker] = FakeControl::datePicker();
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
        return std::all_of(c.begin(), c.end(), [](const auto& x) { return x->sets() == 0; });
    }
};

class VisitorRecordsTest : public RecordsTest {
protected:
    bool saveVisit(const std::string& workOrderDate, const std::string& table = "Visitor") {
        return vek.SaveVisitor("A", "B", "C", "1234", "D", "E", "F", "G", "05/03/2024",
                               "5-Mar-2024", "2024-03-31", "H", "98", "I", "J", "K", "WO-1",
                               workOrderDate, "31/Dec/2024", table);
    }
    bool updateVisit(const std::string& name, const std::string& dateOfVisit) {
        return vek.UpdateVisit(8, "J2", "I2", "A2", "B2", name, "5678", "D2", "E2", "F2", "G2",
                               dateOfVisit, "07/05/2024", "30/06/2024", "H2", "99", "R2",
                               "Visitor");
    }
};

TEST_F(VisitorRecordsTest, SaveStoresDatesAsDatesAndABadDateOrTableNameWritesNothing) {
    EXPECT_FALSE(saveVisit("30/02/2024"));
    EXPECT_FALSE(saveVisit("01/02/2024#,#01/01/2024"));
    EXPECT_FALSE(saveVisit("01/02/2024", "Visitor; Delete * from Visitor"));
    EXPECT_EQ(countRows("Visitor"), 0);

    ASSERT_TRUE(saveVisit("01/02/2024"));
    EXPECT_EQ(storedValue("select DateOfVisit from Visitor").type(), Variant::Type::Date);
    EXPECT_EQ(rows("select ValidFrom, WorkOrderValidity from Visitor"),
              (Rows{{"05/03/2024", "31/12/2024"}}));
    EXPECT_TRUE(shown().empty());
}

TEST_F(VisitorRecordsTest, UpdateRewritesTheVisitButNeverItsWorkOrder) {
    exec({visitRow(8, "1234", "C"), visitRow(9, "1234", "Other")});

    ASSERT_TRUE(updateVisit("O'Neil", "03/05/2024"));

    EXPECT_EQ(rows("select Name_, StaffNo, MobileNo, REMARK, DateOfVisit, ValidFrom, ValidTo, "
                   "WorkOrderNo, WorkOrderDate, WorkOrderValidity from Visitor where SN = 8"),
              (Rows{{"O'Neil", "5678", "99", "R2", "03/05/2024", "07/05/2024", "30/06/2024", "WO-1",
                     "01/02/2024", "31/12/2024"}}));
    EXPECT_EQ(storedValue("select Name_ from Visitor where SN = 9").toString(), "Other");

    EXPECT_FALSE(updateVisit("Z", "soon"));
    EXPECT_FALSE(updateVisit("Z", "03/05/2024#, Name_ = 'hacked"));
    EXPECT_EQ(storedValue("select Name_ from Visitor where SN = 8").toString(), "O'Neil");
}

TEST_F(VisitorRecordsTest, TheLookupsBySerialOrStaffNumberFillTheControlsOrLeaveThem) {
    exec({visitRow(4, "1234", "Four"), visitRow(12, "1234", "Twelve"), visitRow(9, "1234", "Nine"),
          visitRow(20, "999", "Other"), visitRow(3, "O''12", "Quote")});
    VisitView view;
    view.findBySerial(vek, 4);
    EXPECT_EQ(view.c[2]->text(), "Four");
    EXPECT_EQ(view.c[8]->text(), "05/03/2024");  // the date of the visit goes to a Text
    EXPECT_EQ(view.c[9]->value().toDate(), (Date{2024, 3, 6}));

    view.findByStaffNo(vek, "1234");  // the newest visit
    EXPECT_EQ(view.c[2]->text(), "Twelve");
    EXPECT_EQ(vek.SN_.toDouble(), 12);

    VisitView unknown;
    unknown.findBySerial(vek, 5);
    unknown.findByStaffNo(vek, "4321");
    EXPECT_TRUE(unknown.untouched());
    EXPECT_TRUE(vek.SN_.isNull());

    // The short view takes the staff number from its fourth control, writes dates as text and
    // skips a control without text.
    auto c = textBoxes(14);
    c[3] = FakeControl::textBox("O'12");
    c[9] = FakeControl::datePicker();
    vek.FindVisitAsPerStaffNo(0, c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[8], c[9], c[10],
                              c[11], c[12], c[13]);
    EXPECT_EQ(c[2]->text(), "Quote");
    EXPECT_EQ(c[8]->text(), "05/03/2024");
    EXPECT_EQ(c[9]->sets(), 0);
    EXPECT_EQ(c[10]->text(), "31/03/2024");
}

}  // namespace
}  // namespace quillet::testing
