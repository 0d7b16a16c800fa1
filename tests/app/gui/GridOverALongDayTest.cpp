// The grid after many Calculates: what each refresh leaves behind is released, and every new
// schedule is shown from its first row.

#include <gtest/gtest.h>

#include <QItemSelectionModel>
#include <QScrollBar>

#include "gui/Form1.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

class GridOverALongDay : public ::testing::Test {
protected:
    testing::TempStore store;
    Form1 window;
};

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
