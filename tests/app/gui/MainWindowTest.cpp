// The main window as the user first sees it: where everything is, what it holds, how it reads.

#include <QAccessible>
#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>

#include <cstdlib>

#include "WindowFixture.h"
#include "adapters/Twips.h"

namespace quillet::testing {
namespace {

using MainWindow = WindowFixture;

TEST_F(MainWindow, OpensAtTheTopCentredWithItsDesignedSizeAndColour) {
    const QRect outer = form().frameGeometry();
    const QRect screen = form().screen()->geometry();
    EXPECT_EQ(outer.width(), twipsToPixels(11952, form().logicalDpiX()));
    EXPECT_EQ(outer.height(), twipsToPixels(8835, form().logicalDpiY()));
    EXPECT_EQ(outer.top(), screen.top());
    EXPECT_NEAR(outer.left() - screen.left(), (screen.width() - outer.width()) / 2.0, 1.0);
    // The Calculate button's face keeps its own colour under the style.
    const QImage shot = form().grab().toImage();
    EXPECT_EQ(shot.pixelColor(twipsToPixels(3700, form().logicalDpiX()),
                              twipsToPixels(2347, form().logicalDpiY())),
              QColor(255, 255, 128));
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
    {
        // The title band is wider than the window: its text must fit in the visible part.
        QLabel* band = form().Label7();
        const QFontMetrics metrics(band->font());
        const int halfText = metrics.horizontalAdvance(band->text()) / 2;
        const int centre = band->geometry().center().x();
        EXPECT_GE(centre - halfText, 0);
        EXPECT_LE(centre + halfText, form().width());
        EXPECT_LE(metrics.height(), band->contentsRect().height());
    }
    for (QPushButton* button : {form().btnShowPayment(), form().cmd()}) {
        SCOPED_TRACE(button->text().toStdString());
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        if (button->autoDefault()) {
            option.features |= QStyleOptionButton::AutoDefaultButton;
        }
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QFontMetrics metrics(button->font());
        EXPECT_LE(metrics.horizontalAdvance(button->text()), room.width());
        EXPECT_LE(metrics.height(), room.height());
    }
}

/// How far apart two colours are in lightness: text is readable when this is large.
int lightnessGap(const QColor& a, const QColor& b) {
    return std::abs(a.lightness() - b.lightness());
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
        constexpr int kReadable = 120;
        for (QWidget* box : std::initializer_list<QWidget*>{
                 themed.txtAmount(), themed.txtDuration(), themed.txtrate(), themed.emi(),
                 themed.cmb()->lineEdit(), themed.DTP(), themed.DG()}) {
            SCOPED_TRACE(box->objectName().toStdString());
            EXPECT_GE(lightnessGap(box->palette().color(QPalette::Text),
                                   box->palette().color(QPalette::Base)),
                      kReadable);
        }
        for (QWidget* label : std::initializer_list<QWidget*>{&themed, themed.Label7(),
                                                              themed.Label5(), themed.Label6()}) {
            SCOPED_TRACE(label->objectName().toStdString());
            EXPECT_GE(lightnessGap(label->palette().color(QPalette::WindowText),
                                   label->palette().color(QPalette::Window)),
                      kReadable);
        }
        // The boxes keep their fixed light grey: only the text colour follows it.
        EXPECT_EQ(themed.txtAmount()->palette().color(QPalette::Base), QColor(224, 224, 224));
    }
    QApplication::setPalette(previous);
}

TEST_F(MainWindow, ScreenReadersHearEachInputByItsLabelWithoutTheColon) {
    const struct {
        QWidget* control;
        const char* name;
    } named[] = {
        {form().DTP(), "EMI Start Date"},
        {form().txtrate(), "Interest Rate"},
        {form().txtAmount(), "Loan Amount"},
        {form().cmb(), "Decimal Round To"},
        {form().cmb()->lineEdit(), "Decimal Round To"},
        {form().txtDuration(), "Duration (in months)"},
        {form().emi(), "EMI / Month"},
        {form().DG(), "Instalment schedule"},
    };
    for (const auto& n : named) {
        SCOPED_TRACE(n.name);
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(n.control);
        ASSERT_NE(accessible, nullptr);
        // Not the combo box's value ("0"), not the caption's " :".
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(n.name));
        if (n.control == form().DG() || n.control == form().cmb()->lineEdit()) {
            continue;
        }
        // Each input is labelled by its caption, the relation screen readers follow here.
        QStringList labels;
        for (const auto& [other, relation] : accessible->relations(QAccessible::Label)) {
            labels << other->text(QAccessible::Name);
        }
        EXPECT_EQ(labels, QStringList{QString::fromUtf8(n.name)});
    }
    // The captions on screen keep their colon.
    EXPECT_EQ(form().Label5()->text(), "Loan Amount :");
}

TEST_F(MainWindow, TheInstalmentIsDescribedAsTheComputedResultAndIsReadOnly) {
    QAccessibleInterface* emi = QAccessible::queryAccessibleInterface(form().emi());
    ASSERT_NE(emi, nullptr);
    EXPECT_TRUE(emi->text(QAccessible::Description).contains(QStringLiteral("instalment")));
    EXPECT_TRUE(emi->state().readOnly);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(form().txtAmount())->state().readOnly);
}

TEST_F(MainWindow, IsAnApplicationWindowNamedQuilletToAssistiveTechnology) {
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Window);
    EXPECT_EQ(window->text(QAccessible::Name), "Quillet");
    EXPECT_FALSE(window->text(QAccessible::Description).isEmpty());
    // Its controls hang below it in the tree, the Calculate button among them.
    bool found = false;
    for (int i = 0; i < window->childCount(); ++i) {
        found = found || window->child(i)->object() == form().btnShowPayment();
    }
    EXPECT_TRUE(found);
}

TEST_F(MainWindow, AVisibleReportButtonOffersThePreviewTheExportsAndTheCopy) {
    QToolButton* button = form().reportButton();
    EXPECT_TRUE(button->isVisible());
    ASSERT_NE(button->menu(), nullptr);
    QStringList entries;
    for (const QAction* action : button->menu()->actions()) {
        if (!action->isSeparator()) {
            entries << action->text() + QLatin1Char('=') +
                           action->shortcut().toString(QKeySequence::PortableText);
        }
    }
    EXPECT_EQ(entries, QStringList({"Print Preview...=Ctrl+P", "Export PDF...=Ctrl+E",
                                    "Export CSV...=Ctrl+Shift+E", "Copy=Ctrl+C"}));
    // The very actions of the grid: the exports are offered from here only when the grid's are.
    EXPECT_FALSE(button->menu()->actions()[1]->isEnabled());
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    EXPECT_TRUE(button->menu()->actions()[1]->isEnabled());
    // It stays out of the tab order.
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
}

TEST_F(MainWindow, ExportsAndThePreviewHaveShortcutsFromAnywhereInTheWindow) {
    QStringList shortcuts;
    for (const QAction* action : form().actions()) {
        shortcuts << action->text() + QLatin1Char('=') +
                         action->shortcut().toString(QKeySequence::PortableText);
    }
    EXPECT_TRUE(shortcuts.contains(QStringLiteral("Print Preview...=Ctrl+P")))
        << shortcuts.join(' ').toStdString();
    EXPECT_TRUE(shortcuts.contains(QStringLiteral("Export PDF...=Ctrl+E")));
    EXPECT_TRUE(shortcuts.contains(QStringLiteral("Export CSV...=Ctrl+Shift+E")));
    // The grid's tool-tip tells them, where the user looks for the schedule's output.
    for (const char* key : {"Ctrl+P", "Ctrl+E", "Ctrl+Shift+E", "Ctrl+C"}) {
        EXPECT_TRUE(form().DG()->toolTip().contains(QString::fromLatin1(key))) << key;
    }
}

TEST_F(MainWindow, ExportsAreOfferedOnlyWhileACalculatedScheduleExists) {
    const auto exportsEnabled = [this] {
        int enabled = 0;
        for (const QAction* action : form().DG()->actions()) {
            if (action->text().startsWith(QStringLiteral("Export"))) {
                enabled += action->isEnabled() ? 1 : 0;
            }
        }
        return enabled;
    };
    EXPECT_EQ(exportsEnabled(), 0);
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    EXPECT_EQ(exportsEnabled(), 2);
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

}  // namespace
}  // namespace quillet::testing
