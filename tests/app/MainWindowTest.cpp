// The main window as the user first sees it: where everything is, how it looks, what it holds.

#include <QDesktopServices>
#include <QFontDatabase>
#include <QHeaderView>
#include <QImage>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QStyleOptionButton>
#include <QTextBrowser>
#include <QUrl>
#include <set>

#include "WindowFixture.h"
#include "gui/Twips.h"

namespace quillet::test {
namespace {

struct Designed {
    const char* name;
    int left, top, width, height;
};

constexpr Designed kDesigned[] = {
    {"Label7", 0, 0, 12132, 312},
    {"cmd", 10440, 360, 1332, 2172},
    {"Label2", 1200, 720, 2160, 375},
    {"DTP", 3480, 720, 2175, 375},
    {"Label3", 5760, 720, 2160, 375},
    {"txtrate", 8040, 720, 2115, 375},
    {"Label5", 1200, 1200, 2160, 375},
    {"txtAmount", 3480, 1200, 2115, 375},
    {"Label4", 5760, 1200, 2160, 375},
    {"cmb", 8040, 1200, 2175, 336},
    {"Label1", 960, 1680, 2400, 375},
    {"txtDuration", 3480, 1680, 2115, 375},
    {"Label6", 5760, 1680, 2160, 375},
    {"emi", 8040, 1680, 2115, 375},
    {"btnShowPayment", 3480, 2160, 4455, 375},
    {"DG", 120, 2640, 11655, 5535},
};

QWidget* control(Form1& form, const char* name) {
    return form.findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

using MainWindow = WindowFixture;

TEST_F(MainWindow, ControlsLieWhereDesignedAtTheScreensResolution) {
    const double dpiX = form().logicalDpiX();
    const double dpiY = form().logicalDpiY();
    for (const Designed& d : kDesigned) {
        SCOPED_TRACE(d.name);
        QWidget* widget = control(form(), d.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->geometry(), twipsRect(d.left, d.top, d.width, d.height, dpiX, dpiY));
        EXPECT_TRUE(widget->isVisible());
    }
    // Every accessor hands out the control of that name.
    EXPECT_EQ(form().Label7(), control(form(), "Label7"));
    EXPECT_EQ(form().DTP(), control(form(), "DTP"));
    EXPECT_EQ(form().cmb(), control(form(), "cmb"));
    EXPECT_EQ(form().emi(), control(form(), "emi"));
    EXPECT_EQ(form().btnShowPayment(), control(form(), "btnShowPayment"));
    EXPECT_EQ(form().DG(), control(form(), "DG"));
}

TEST_F(MainWindow, OpensAtTheTopCentredWithItsDesignedOuterSize) {
    const double dpiX = form().logicalDpiX();
    const QRect outer = form().frameGeometry();
    const QRect screen = form().screen()->geometry();
    EXPECT_EQ(outer.width(), twipsToPixels(11952, dpiX));
    EXPECT_EQ(outer.height(), twipsToPixels(8835, form().logicalDpiY()));
    EXPECT_EQ(outer.top(), screen.top());
    EXPECT_NEAR(outer.left() - screen.left(), (screen.width() - outer.width()) / 2.0, 1.0);
}

TEST_F(MainWindow, TitleBandCoversAWidenedWindow) {
    form().resize(form().width() + 200, form().height());
    EXPECT_GE(form().Label7()->geometry().right(), form().width() - 1);
    EXPECT_EQ(form().Label7()->geometry().left(), 0);
}

TEST_F(MainWindow, StartsWithTheOpeningLoanAndCalculateFocused) {
    EXPECT_EQ(QApplication::focusWidget(), form().btnShowPayment());
    EXPECT_EQ(form().windowTitle(),
              QStringLiteral("Quillet (") + QString::fromUtf8(QUILLET_DEVELOPER_URL) + ") ");
    EXPECT_EQ(form().txtAmount()->text(), "1000000");
    EXPECT_EQ(form().txtDuration()->text(), "120");
    EXPECT_EQ(form().txtrate()->text(), "6");
    EXPECT_EQ(form().emi()->text(), "");
    EXPECT_EQ(form().DTP()->date(), QDate(2024, 1, 1));
    EXPECT_EQ(form().DTP()->text(), "01/Jan/2024");
    EXPECT_TRUE(form().DTP()->calendarPopup());

    QComboBox* decimals = form().cmb();
    ASSERT_EQ(decimals->count(), 2);
    EXPECT_EQ(decimals->itemText(0), "0");
    EXPECT_EQ(decimals->itemText(1), "2");
    EXPECT_EQ(decimals->currentIndex(), 0);
    EXPECT_EQ(decimals->currentText(), "0");
    EXPECT_TRUE(decimals->isEditable());
    EXPECT_EQ(decimals->toolTip(),
              "Do not write while entry. Used only for View / Update / Delete");
    EXPECT_EQ(form().RoundTo, 0.0);
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
            << QApplication::focusWidget()->objectName().toStdString() << " "
            << QApplication::focusWidget()->metaObject()->className();
    }
    form().DG()->setModel(nullptr);
}

TEST_F(MainWindow, MonthNamesAreEnglishWhateverTheUsersLanguage) {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    {
        Form1 french;
        EXPECT_EQ(french.DTP()->text(), "01/Jan/2024");
        french.DTP()->setDate(QDate(2024, 2, 29));
        EXPECT_EQ(french.DTP()->text(), "29/Feb/2024");
    }
    QLocale::setDefault(previous);
}

TEST_F(MainWindow, UsesTheInterfaceFontsAtTheirSizes) {
    const QStringList installed = QFontDatabase::families();
    QString family = QApplication::font().family();
    for (const char* wanted : {"MS Sans Serif", "Liberation Sans"}) {
        if (installed.contains(QLatin1String(wanted))) {
            family = QLatin1String(wanted);
            break;
        }
    }
    struct Expected {
        QWidget* widget;
        double points;
        bool bold;
    };
    const Expected expected[] = {
        {form().Label7(), 10.8, true}, {form().Label1(), 9.6, true},
        {form().Label6(), 9.6, true},  {form().txtAmount(), 9.6, true},
        {form().cmb(), 9.6, true},     {form().DTP(), 9.6, true},
        {form().cmd(), 9.6, true},     {form().btnShowPayment(), 13.2, true},
        {form().DG(), 7.8, false},     {form().DG()->horizontalHeader(), 10.8, true},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.widget->objectName().toStdString());
        const QFont font = e.widget->font();
        EXPECT_DOUBLE_EQ(font.pointSizeF(), e.points);
        EXPECT_EQ(font.bold(), e.bold);
        // The family really is the one drawn, not a stand-in the font system picked.
        EXPECT_EQ(QFontInfo(font).family(), family);
    }
}

TEST_F(MainWindow, NoCaptionIsCut) {
    for (QLabel* label : {form().Label2(), form().Label3(), form().Label5(), form().Label4(),
                          form().Label1(), form().Label6()}) {
        SCOPED_TRACE(label->text().toStdString());
        const QFontMetrics metrics(label->font());
        const QRect room = label->contentsRect();
        EXPECT_LE(metrics.horizontalAdvance(label->text()), room.width());
        EXPECT_LE(metrics.height(), room.height());
    }
    {
        // The title band is wider than the window: its text must fit in the visible part.
        QLabel* band = form().Label7();
        const QFontMetrics metrics(band->font());
        const int textWidth = metrics.horizontalAdvance(band->text());
        const int centre = band->geometry().center().x();
        EXPECT_GE(centre - textWidth / 2, 0);
        EXPECT_LE(centre + textWidth / 2, form().width());
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

TEST_F(MainWindow, ShowsItsColours) {
    const QImage shot = form().grab().toImage();
    const double dpiX = form().logicalDpiX();
    const double dpiY = form().logicalDpiY();
    auto at = [&](int leftTwips, int topTwips) {
        return shot.pixelColor(twipsToPixels(leftTwips, dpiX), twipsToPixels(topTwips, dpiY));
    };
    // Exactly the colours: the buttons' faces are not shaded or paled by the style.
    EXPECT_EQ(at(300, 1500), QColor(0, 128, 0)) << "window";
    EXPECT_EQ(at(150, 150), QColor(128, 0, 0)) << "title band";
    EXPECT_EQ(at(5500, 1387), QColor(224, 224, 224)) << "amount box";
    EXPECT_EQ(at(9500, 1268), QColor(224, 224, 224)) << "decimals box";
    EXPECT_EQ(at(3700, 2347), QColor(255, 255, 128)) << "Calculate";
    EXPECT_EQ(at(10560, 600), QColor(128, 255, 128)) << "Developer";

    // The labels' letters are white on the green.
    const QRect label = form().Label5()->geometry();
    std::set<QRgb> colours;
    for (int y = label.top(); y <= label.bottom(); ++y) {
        for (int x = label.left(); x <= label.right(); ++x) {
            colours.insert(shot.pixel(x, y) & 0xffffff);
        }
    }
    EXPECT_TRUE(colours.count(0xffffff)) << "white letters";
    EXPECT_TRUE(colours.count(0x008000)) << "green ground";
    EXPECT_FALSE(colours.count(0x000000)) << "no black";
}

TEST_F(MainWindow, CarriesItsIconInBothSizesOfSixteenColours) {
    const QList<QSize> sizes = form().windowIcon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(32, 32)));
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    for (const int side : {32, 16}) {
        const QImage image = form().windowIcon().pixmap(side, side).toImage();
        ASSERT_EQ(image.size(), QSize(side, side));
        std::set<QRgb> colours;
        for (int y = 0; y < side; ++y) {
            for (int x = 0; x < side; ++x) {
                colours.insert(image.pixel(x, y));
            }
        }
        EXPECT_LE(colours.size(), 16u);
        EXPECT_GE(colours.size(), 4u);  // a picture, not a blank
    }
}

TEST_F(MainWindow, DeveloperOpensTheDevelopersPage) {
    const QUrl page(QString::fromUtf8(QUILLET_DEVELOPER_URL));
    // The desktop's handler for the page's scheme is replaced by a receiver whose signal takes
    // the address, so no browser starts.
    QTextBrowser receiver;
    QSignalSpy opened(&receiver, &QTextBrowser::anchorClicked);
    QDesktopServices::setUrlHandler(page.scheme(), &receiver, "anchorClicked");
    QTest::mouseClick(form().cmd(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(page.scheme());
    ASSERT_EQ(opened.count(), 1);
    EXPECT_EQ(opened.front().front().toUrl(), page);
    EXPECT_TRUE(form().isVisible());
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace quillet::test
