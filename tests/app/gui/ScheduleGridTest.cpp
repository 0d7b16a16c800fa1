// Reading the schedule in the grid and copying it into a spreadsheet.

#include <QAction>
#include <QClipboard>
#include <QItemSelectionModel>

#include "app/gui/WindowFixture.h"

namespace quillet::testing {
namespace {

class ScheduleGrid : public WindowFixture {
protected:
    void calculateWithDecimals(int index) {
        form().cmb()->setCurrentIndex(index);
        QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
        ASSERT_TRUE(messages().empty());
        ASSERT_NE(form().DG()->model(), nullptr);
    }
    QString shown(int row, int column) {
        return form().DG()->model()->index(row, column).data().toString();
    }
};

TEST_F(ScheduleGrid, AmountsShowTheCalculationsDecimalsGrouped) {
    calculateWithDecimals(1);  // "2"
    // Stored as 1000000, 5000 and 6102.05: shown as the printed report writes money.
    EXPECT_EQ(shown(0, 1), "1,000,000.00");
    EXPECT_EQ(shown(0, 3), "6,102.05");
    EXPECT_EQ(shown(0, 4), "993,897.95");
    EXPECT_EQ(shown(0, 5), "01/Jan/2024");
    // The same schedule at no decimals: whole amounts, no ".00", still grouped.
    calculateWithDecimals(0);
    EXPECT_EQ(shown(0, 1), "1,000,000");
    EXPECT_EQ(shown(0, 3), "6,102");
    EXPECT_EQ(shown(119, 4), "0");
}

TEST_F(ScheduleGrid, CtrlACtrlCCopiesEveryRowUnderTheHeadingsButNotFromAnInputBox) {
    calculateWithDecimals(1);
    QApplication::clipboard()->clear();
    form().DG()->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(form().DG(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form().DG(), Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 122);  // headings, 120 rows, the final line break
    EXPECT_EQ(lines[0], "SN\tOpeningBalance\tInterest\tPrincipal\tClosingBalance\tEMIDate");
    // Plain numbers and ISO dates, which any spreadsheet reads as numbers and dates.
    EXPECT_EQ(lines[1], "1\t1000000\t5000\t6102.05\t993897.95\t2024-01-01");
    EXPECT_TRUE(lines[120].startsWith(QStringLiteral("120\t"))) << lines[120].toStdString();
    EXPECT_TRUE(lines[120].endsWith(QStringLiteral("\t2033-12-01")));
    EXPECT_EQ(lines[121], "");
    // Ctrl+C in an input box copies that box, not the selected grid.
    focusOn(form().txtAmount());
    form().txtAmount()->selectAll();
    QTest::keyClick(form().txtAmount(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "1000000");
}

TEST_F(ScheduleGrid, CopyTakesTheRowsOfTheSelectedCellsInTheirOrder) {
    calculateWithDecimals(0);
    QTableView* grid = form().DG();
    QItemSelectionModel* selection = grid->selectionModel();
    // Two cells of row 3 and one of row 2, picked out of order: rows 2 and 3, each once, whole.
    selection->select(grid->model()->index(2, 4), QItemSelectionModel::Select);
    selection->select(grid->model()->index(1, 0), QItemSelectionModel::Select);
    selection->select(grid->model()->index(2, 1), QItemSelectionModel::Select);
    QAction* copy = nullptr;
    for (QAction* action : grid->actions()) {
        if (action->text() == QStringLiteral("Copy")) {
            copy = action;
        }
    }
    ASSERT_NE(copy, nullptr);
    QApplication::clipboard()->clear();
    copy->trigger();
    const QStringList lines = QApplication::clipboard()->text().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("SN\t")));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2\t993898\t")));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("3\t")));
    EXPECT_EQ(lines[1].count(QLatin1Char('\t')), 5);
}

}  // namespace
}  // namespace quillet::testing
