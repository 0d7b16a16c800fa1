// The main window as the user first sees it: where everything is, what it holds, how it reads.

#include <QAccessible>
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include <cstdlib>

#include "WindowFixture.h"
#include "adapters/Twips.h"

namespace quillet::testing {
namespace {

using MainWindow = WindowFixture;

TEST_F(MainWindow, OpensAtTheTopCentred) {
    const QRect outer = form().frameGeometry();
    const QRect screen = form().screen()->geometry();
    EXPECT_EQ(outer.top(), screen.top());
    EXPECT_NEAR(outer.left() - screen.left(), (screen.width() - outer.width()) / 2.0, 1.0);
}

TEST_F(MainWindow, TabVisitsTheControlsInTheirTabOrderAndPassesOverTheGrid) {
    // The grid holds rows as after a calculation: Tab must still leave it.
    QStandardItemModel rows(3, 6);
    form().DG()->setModel(&rows);
    QWidget* const expected[] = {form().emi(),         form().cmb(),       form().txtrate(),
                                 form().txtDuration(), form().txtAmount(), form().DTP(),
                                 form().DG(),          form().cmd(),       form().btnShowPayment()};
    for (QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next)
            << next->objectName().toStdString() << " wanted, got "
            << QApplication::focusWidget()->objectName().toStdString();
    }
    form().DG()->setModel(nullptr);
}

TEST_F(MainWindow, MonthNamesAreEnglishWhateverTheUsersLanguage) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    {
        Form1 french;
        french.DTP()->setDate(QDate(2024, 2, 29));
        EXPECT_EQ(french.DTP()->text(), "29/Feb/2024");
    }
    QLocale::setDefault(previous);
}

TEST_F(MainWindow, NoCaptionIsCut) {
    for (QLabel* label : {form().Label2(), form().Label3(), form().Label5(), form().Label4(),
                          form().Label1(), form().Label6()}) {
        SCOPED_TRACE(label->text().toStdString());
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(label->text()), label->contentsRect().width());
        EXPECT_LE(metrics.height(), label->contentsRect().height());
    }
    // The title band is wider than the window: its text must fit in the visible part.
    QLabel* band = form().Label7();
    const QFontMetrics metrics(band->font());
    const int halfText = metrics.horizontalAdvance(band->text()) / 2;
    const int centre = band->geometry().center().x();
    EXPECT_GE(centre - halfText, 0);
    EXPECT_LE(centre + halfText, form().width());
    EXPECT_LE(metrics.height(), band->contentsRect().height());
}

TEST_F(MainWindow, ReadsUnderADarkDesktopThemeAsUnderALightOne) {
    const QPalette previous = QApplication::palette();
    QPalette dark = previous;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button}) {
        dark.setColor(role, QColor(40, 40, 40));
    }
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        dark.setColor(role, QColor(235, 235, 235));
    }
    QApplication::setPalette(dark);
    {
        Form1 themed;
        const auto readable = [](QWidget* w, QPalette::ColorRole text, QPalette::ColorRole back) {
            const int gap =
                w->palette().color(text).lightness() - w->palette().color(back).lightness();
            EXPECT_GE(std::abs(gap), 120) << w->objectName().toStdString();
        };
        for (QWidget* box : std::initializer_list<QWidget*>{
                 themed.txtAmount(), themed.txtDuration(), themed.txtrate(), themed.emi(),
                 themed.cmb()->lineEdit(), themed.DTP(), themed.DG()}) {
            readable(box, QPalette::Text, QPalette::Base);
        }
        for (QWidget* label : std::initializer_list<QWidget*>{&themed, themed.Label7(),
                                                              themed.Label5(), themed.Label6()}) {
            readable(label, QPalette::WindowText, QPalette::Window);
        }
    }
    QApplication::setPalette(previous);
}

TEST_F(MainWindow, ScreenReadersHearEachInputByItsLabelWithoutTheColon) {
    const struct {
        QWidget* control;
        const char* name;
    } named[] = {
        {form().DTP(), "EMI Start Date"},
        {form().cmb(), "Decimal Round To"},
        {form().cmb()->lineEdit(), "Decimal Round To"},
        {form().txtDuration(), "Duration (in months)"},
    };
    for (const auto& n : named) {
        SCOPED_TRACE(n.name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(n.control);
        ASSERT_NE(accessible, nullptr);
        // Not the combo box's value ("0"), not the caption's " :".
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(n.name));
        if (n.control == form().cmb()->lineEdit()) {
            continue;
        }
        // Each input is labelled by its caption, the relation screen readers follow here.
        QStringList labels;
        for (const auto& [other, relation] : accessible->relations(QAccessible::Label)) {
            labels << other->text(QAccessible::Name);
        }
        EXPECT_EQ(labels, QStringList{QString::fromUtf8(n.name)});
    }
}

TEST_F(MainWindow, TheReportButtonAndTheGridOfferTheExportsOnlyWhileACalculatedScheduleExists) {
    QToolButton* button = form().reportButton();
    EXPECT_TRUE(button->isVisible());
    ASSERT_NE(button->menu(), nullptr);
    // The menu holds the grid's very actions: both follow the schedule.
    const auto exportsEnabled = [&] {
        int enabled = button->menu()->actions()[1]->isEnabled() ? 1 : 0;
        for (const QAction* action : form().DG()->actions()) {
            if (action->text().startsWith(QStringLiteral("Export"))) {
                enabled += action->isEnabled() ? 1 : 0;
            }
        }
        return enabled;
    };
    EXPECT_EQ(exportsEnabled(), 0);
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    EXPECT_EQ(exportsEnabled(), 3);
    form().txtAmount()->setText(QStringLiteral("ABC"));
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    EXPECT_EQ(exportsEnabled(), 0);
}

TEST_F(MainWindow, DeveloperOpensTheDevelopersPage) {
    const QUrl page(QString::fromUtf8(QUILLET_DEVELOPER_URL));
    // The page's scheme goes to a receiver instead of a browser.
    QTextBrowser receiver;
    QSignalSpy opened(&receiver, &QTextBrowser::anchorClicked);
    QDesktopServices::setUrlHandler(page.scheme(), &receiver, "anchorClicked");
    QTest::mouseClick(form().cmd(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(page.scheme());
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.front().front().toUrl(), page);
    EXPECT_TRUE(messages().empty());
}

// Resizing: a larger window gives the grid the room; the smallest one still shows every control
// whole, none over another.

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
