// Resizing the window: at its start-up size everything is where it was designed; a larger
// window gives the grid the room; the smallest one still shows every control whole.

#include <QLabel>

#include "adapters/Twips.h"
#include "app/gui/WindowFixture.h"

namespace quillet::testing {
namespace {

class Resizing : public WindowFixture {
protected:
    QRect twips(int left, int top, int width, int height) {
        return twipsRect(left, top, width, height, form().logicalDpiX(), form().logicalDpiY());
    }
    std::vector<QWidget*> controlsAboveTheGrid() {
        return {form().cmd(),     form().Label2(),         form().DTP(),         form().Label3(),
                form().txtrate(), form().Label5(),         form().txtAmount(),   form().Label4(),
                form().cmb(),     form().Label1(),         form().txtDuration(), form().Label6(),
                form().emi(),     form().btnShowPayment(), form().reportButton()};
    }
    void resizeTo(const QSize& size) {
        form().resize(size);
        QApplication::processEvents();
    }
};

TEST_F(Resizing, AtTheStartUpSizeEveryControlIsWhereItWasDesigned) {
    EXPECT_EQ(form().DG()->geometry(), twips(120, 2640, 11655, 5535));
    EXPECT_EQ(form().emi()->geometry(), twips(8040, 1680, 2115, 375));
    EXPECT_EQ(form().cmd()->geometry(), twips(10440, 360, 1332, 2172));
    EXPECT_LE(form().minimumWidth(), form().width());
    EXPECT_LE(form().minimumHeight(), form().height());
}

TEST_F(Resizing, NoTwoControlsOverlap) {
    std::vector<QWidget*> controls = controlsAboveTheGrid();
    controls.push_back(form().DG());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
        }
    }
}

TEST_F(Resizing, ALargerWindowGivesTheGridAllTheExtraRoom) {
    std::vector<QRect> before;
    for (QWidget* control : controlsAboveTheGrid()) {
        before.push_back(control->geometry());
    }
    const QRect grid = form().DG()->geometry();
    resizeTo(form().size() + QSize(300, 200));
    EXPECT_EQ(form().DG()->geometry(), grid.adjusted(0, 0, 300, 200));
    const auto controls = controlsAboveTheGrid();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_EQ(controls[i]->geometry(), before[i]) << controls[i]->objectName().toStdString();
    }
    // The title band still spans the width.
    EXPECT_GE(form().Label7()->geometry().right(), form().rect().right());
    // And back: the designed places again.
    resizeTo(form().size() - QSize(300, 200));
    EXPECT_EQ(form().DG()->geometry(), grid);
}

TEST_F(Resizing, TheSmallestWindowKeepsEveryControlWholeAndSomeRowsOfTheGrid) {
    resizeTo(QSize(100, 100));
    EXPECT_EQ(form().size(), form().minimumSize());
    EXPECT_LT(form().height(), twipsToPixels(8835, form().logicalDpiY()));
    for (QWidget* control : controlsAboveTheGrid()) {
        EXPECT_TRUE(form().rect().contains(control->geometry()))
            << control->objectName().toStdString();
    }
    const QRect grid = form().DG()->geometry();
    EXPECT_TRUE(form().rect().contains(grid));
    EXPECT_GE(grid.height(), twipsToPixels(1440, form().logicalDpiY()));
}

}  // namespace
}  // namespace quillet::testing
