// Resizing the window: a larger window gives the grid the room; the smallest one still shows
// every control whole, none over another.

#include <QLabel>

#include "adapters/Twips.h"
#include "app/gui/WindowFixture.h"

namespace quillet::testing {
namespace {

class Resizing : public WindowFixture {
protected:
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

TEST_F(Resizing, TheSmallestWindowKeepsEveryControlWholeApartAndSomeRowsOfTheGrid) {
    resizeTo(QSize(100, 100));
    EXPECT_EQ(form().size(), form().minimumSize());
    EXPECT_LT(form().height(), twipsToPixels(8835, form().logicalDpiY()));
    std::vector<QWidget*> controls = controlsAboveTheGrid();
    controls.push_back(form().DG());
    for (std::size_t i = 0; i < controls.size(); ++i) {
        EXPECT_TRUE(form().rect().contains(controls[i]->geometry()))
            << controls[i]->objectName().toStdString();
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
        }
    }
    EXPECT_GE(form().DG()->height(), twipsToPixels(1440, form().logicalDpiY()));
}

}  // namespace
}  // namespace quillet::testing
