#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <fstream>

#include "gui/Form1.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Row = std::vector<std::string>;

class CalculateRun : public ::testing::Test {
protected:
    TempStore store;
    Form1 window;

    int gridRows() { return window.DG()->model() ? window.DG()->model()->rowCount() : 0; }
};

TEST_F(CalculateRun, StoresTheStartUpScheduleAndShowsItAndANewOneReplacesIt) {
    window.btnShowPayment_Click();
    EXPECT_EQ(rows("select * from EMI where SN = 1"),
              (std::vector<Row>{{"1", "1000000", "5000", "6102", "993898", "01/01/2024"}}));
    EXPECT_EQ(rows("select EMIDate from EMI where SN = 120")[0][0], "01/12/2033");
    EXPECT_EQ(window.emi()->text(), "11102");
    EXPECT_TRUE(store.shown().empty());
    EXPECT_EQ(gridRows(), 120);

    // A second calculation replaces the first (the two-decimal figures: ScheduleGridTest).
    window.txtDuration()->setText("12");
    window.btnShowPayment_Click();
    EXPECT_EQ(countRows("EMI"), 12);
    EXPECT_EQ(gridRows(), 12);
}

TEST_F(CalculateRun, NoMonthsLeavesAnEmptyScheduleAndZero) {
    window.txtDuration()->setText("0");
    window.btnShowPayment_Click();
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(window.DG()->model()->columnCount(), 6);  // headings without rows
    EXPECT_EQ(window.emi()->text(), "0");
}

// Each failure follows a good run: the table it leaves behind must be emptied. (A bad amount's
// messages: CalculateInputsTest; its emptied table: ScheduleToolTest, through the same run.)
TEST_F(CalculateRun, DecimalsThatCannotRoundAreReportedOnceAndTheWindowCarriesOn) {
    for (const auto& [decimals, description] :
         {std::pair{"-1", "Invalid procedure call or argument"}, std::pair{"40000", "Overflow"}}) {
        SCOPED_TRACE(decimals);
        // The first row cannot be written, nor can its instalment be shown.
        window.cmb()->setCurrentIndex(0);
        window.btnShowPayment_Click();
        window.cmb()->setEditText(QString::fromLatin1(decimals));
        window.btnShowPayment_Click();
        ASSERT_EQ(store.shown().size(), 1u);
        EXPECT_EQ(store.shown()[0].prompt, description);
        EXPECT_EQ(countRows("EMI"), 0);
        EXPECT_EQ(gridRows(), 0);
        EXPECT_EQ(window.emi()->text(), "");
        store.messages->shown.clear();
    }
    window.cmb()->setCurrentIndex(1);
    window.btnShowPayment_Click();
    EXPECT_EQ(window.emi()->text(), "11102.05");
    EXPECT_EQ(countRows("EMI"), 120);
}

TEST_F(CalculateRun, AnUnusableStoreIsReportedAndTheWindowCarriesOn) {
    std::ofstream(store.folder() / "quillet") << "a file where the data folder belongs";
    window.btnShowPayment_Click();
    ASSERT_GE(store.shown().size(), 2u);
    EXPECT_EQ(store.shown()[0].prompt,
              "Please select Database : remember.mdb and restart Application");
    EXPECT_LE(store.shown().size(), 3u);
    EXPECT_EQ(gridRows(), 0);
    EXPECT_EQ(window.emi()->text(), "0");
}

// The grid after many Calculates: what each refresh leaves behind is released, and every new
// schedule is shown from its first row.
using GridOverALongDay = CalculateRun;

TEST_F(GridOverALongDay, FiveHundredCalculatesLeaveOneSelectionModel) {
    window.txtDuration()->setText("2");
    for (int run = 0; run < 500; ++run) {
        window.btnShowPayment_Click();
    }
    ASSERT_TRUE(store.shown().empty());
    QTableView* grid = window.DG();
    // At most the view's own and one made by each header, whatever the number of refreshes.
    EXPECT_LE(grid->findChildren<QItemSelectionModel*>().size(), 3);
    // The one left is the grid's own, over the schedule it shows.
    ASSERT_NE(grid->selectionModel(), nullptr);
    EXPECT_EQ(grid->selectionModel()->model(), grid->model());
    grid->selectRow(1);
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(1, {}));
}

TEST_F(GridOverALongDay, ANewScheduleIsShownFromItsFirstRow) {
    window.show();
    window.btnShowPayment_Click();
    QTableView* grid = window.DG();
    ASSERT_EQ(grid->model()->rowCount(), 120);
    grid->scrollTo(grid->model()->index(31, 0), QAbstractItemView::PositionAtTop);
    ASSERT_EQ(grid->rowAt(0), 31);

    window.txtDuration()->setText("60");
    window.btnShowPayment_Click();
    ASSERT_EQ(grid->model()->rowCount(), 60);
    EXPECT_EQ(grid->rowAt(0), 0);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
}

}  // namespace
}  // namespace quillet::testing
