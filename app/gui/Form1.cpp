#include "gui/Form1.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDesktopServices>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QScreen>
#include <QUrl>
#include <algorithm>
#include <string>
#include <utility>

#include "adapters/BusyCursor.h"
#include "adapters/Twips.h"
#include "gui/Appearance.h"
#include "gui/GridCopy.h"
#include "gui/ReportMenu.h"
#include "gui/WindowAccessibility.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "ui/MessageBox.h"

// The icon lives in a static library's resources, which the linker drops unless something
// names them; a resource cannot be named from inside a namespace.
static void initQuilletResources() {
    Q_INIT_RESOURCE(quillet);
}

namespace quillet {

namespace {

constexpr int kWindowWidthTwips = 11952;
constexpr int kWindowHeightTwips = 8835;
constexpr int kTitleBandWidthTwips = 12132;
// The grid: at the start-up size exactly here; a larger window gives it the extra room.
constexpr int kGridLeftTwips = 120;
constexpr int kGridTopTwips = 2640;
constexpr int kGridWidthTwips = 11655;
constexpr int kGridHeightTwips = 5535;
// The grid never shrinks below a few rows, and the window never below the controls above it.
constexpr int kSmallestGridHeightTwips = 1440;
constexpr int kRightmostControlEdgeTwips = kGridLeftTwips + kGridWidthTwips;
// More decimals than a double holds would show only noise.
constexpr int kMostShownDecimals = 15;

// A caption without its trailing " :", as a screen reader should say it.
QString spokenName(const QLabel& label) {
    QString name = label.text();
    if (name.endsWith(QLatin1String(" :"))) {
        name.chop(2);
    }
    return name.trimmed();
}

struct Placement {
    QWidget* widget;
    const char* name;
    int left;
    int top;
    int width;
    int height;
};

QString developerUrl() {
    return QString::fromUtf8(QUILLET_DEVELOPER_URL);
}

void setRole(QWidget& widget, QPalette::ColorRole role, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(role, colour);
    widget.setPalette(palette);
}

// A background is never set alone: under a dark desktop theme the theme's light text would
// otherwise land on the window's fixed light colours. Each background gets its text colour.
void setColours(QWidget& widget, QPalette::ColorRole background, const QColor& fill,
                QPalette::ColorRole text, const QColor& ink) {
    QPalette palette = widget.palette();
    palette.setColor(background, fill);
    palette.setColor(text, ink);
    widget.setPalette(palette);
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
    // Before anything can make Qt describe them in its own way.
    presentAsApplicationWindow(*this, "Quillet", "Loan instalment calculator");
    nameComboBoxByItsLabel(m_cmb);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quillet (") + developerUrl() + QStringLiteral(") "));
    initQuilletResources();
    QIcon icon;
    icon.addFile(QStringLiteral(":/quillet-32.xpm"), QSize(32, 32));
    icon.addFile(QStringLiteral(":/quillet-16.xpm"), QSize(16, 16));
    setWindowIcon(icon);

    m_Label7.setText(QStringLiteral(": Quillet :"));
    m_cmd.setText(QStringLiteral("Developer"));
    m_Label2.setText(QStringLiteral("EMI Start Date :"));
    m_Label3.setText(QStringLiteral("Interest Rate :"));
    m_txtrate.setText(QStringLiteral("6"));
    m_Label5.setText(QStringLiteral("Loan Amount :"));
    m_txtAmount.setText(QStringLiteral("1000000"));
    m_Label4.setText(QStringLiteral("Decimal Round To :"));
    m_Label1.setText(QStringLiteral("Duration (in months) :"));
    m_txtDuration.setText(QStringLiteral("120"));
    m_Label6.setText(QStringLiteral("EMI / Month :"));
    m_btnShowPayment.setText(QStringLiteral("Calculate"));

    // The picker shows English month names whatever the user's language, like every date text
    // the program writes.
    const QLocale english(QLocale::English, QLocale::UnitedKingdom);
    m_DTP.setLocale(english);
    m_DTP.setCalendarPopup(true);
    m_DTP.setDisplayFormat(QStringLiteral("dd/MMM/yyyy"));
    m_DTP.setDate(QDate(2024, 1, 1));
    if (QCalendarWidget* calendar = m_DTP.calendarWidget()) {
        calendar->setLocale(english);
    }

    m_cmb.setInsertPolicy(QComboBox::NoInsert);
    m_cmb.setToolTip(
        QStringLiteral("Do not write while entry. Used only for View / Update / Delete"));

    // Enter on a focused button presses it, as Space does.
    m_btnShowPayment.setAutoDefault(true);
    m_cmd.setAutoDefault(true);
    m_btnShowPayment.setToolTip(QStringLiteral("Calculate the schedule (Enter in any box)"));

    // The instalment is the program's answer: it can be selected and copied, not typed over.
    m_emi.setReadOnly(true);

    placeControls();
    styleControls();
    orderTabs();
    nameForAssistiveTechnology();
    m_btnShowPayment.setFocus(Qt::OtherFocusReason);

    connect(&m_btnShowPayment, &QPushButton::clicked, this, &Form1::btnShowPayment_Click);
    connect(&m_cmd, &QPushButton::clicked, this, &Form1::cmd_Click);
    m_reportActions = installReportActions(this, &m_DG, CR);
    installReportButton(installRowCopy(m_DG));
    m_DG.setToolTip(
        QStringLiteral("Ctrl+C copies the selected rows (Ctrl+A selects all). Ctrl+P: print "
                       "preview, Ctrl+E: export PDF, Ctrl+Shift+E: export CSV; right-click for "
                       "the menu."));

    Form_Load();
}

Form1::~Form1() = default;

void Form1::placeControls() {
    const Placement placements[] = {
        {&m_Label7, "Label7", 0, 0, kTitleBandWidthTwips, 312},
        {&m_cmd, "cmd", 10440, 360, 1332, 2172},
        {&m_Label2, "Label2", 1200, 720, 2160, 375},
        {&m_DTP, "DTP", 3480, 720, 2175, 375},
        {&m_Label3, "Label3", 5760, 720, 2160, 375},
        {&m_txtrate, "txtrate", 8040, 720, 2115, 375},
        {&m_Label5, "Label5", 1200, 1200, 2160, 375},
        {&m_txtAmount, "txtAmount", 3480, 1200, 2115, 375},
        {&m_Label4, "Label4", 5760, 1200, 2160, 375},
        {&m_cmb, "cmb", 8040, 1200, 2175, 336},
        {&m_Label1, "Label1", 960, 1680, 2400, 375},
        {&m_txtDuration, "txtDuration", 3480, 1680, 2115, 375},
        {&m_Label6, "Label6", 5760, 1680, 2160, 375},
        {&m_emi, "emi", 8040, 1680, 2115, 375},
        {&m_btnShowPayment, "btnShowPayment", 3480, 2160, 4455, 375},
        {&m_DG, "DG", kGridLeftTwips, kGridTopTwips, kGridWidthTwips, kGridHeightTwips},
        // Under the instalment box, beside Calculate: room no other control uses.
        {&m_reportButton, "reportButton", 8040, 2160, 2115, 375},
    };
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    for (const Placement& p : placements) {
        p.widget->setObjectName(QString::fromLatin1(p.name));
        p.widget->setGeometry(twipsRect(p.left, p.top, p.width, p.height, dpiX, dpiY));
    }
}

void Form1::styleControls() {
    setAutoFillBackground(true);
    setColours(*this, QPalette::Window, kWindowGreen, QPalette::WindowText, kCaptionWhite);
    setFont(interfaceFont(kControlPoints, true));

    m_Label7.setFont(interfaceFont(kTitlePoints, true));
    m_Label7.setAlignment(Qt::AlignCenter);
    m_Label7.setAutoFillBackground(true);
    setColours(m_Label7, QPalette::Window, kTitleBandRed, QPalette::WindowText, kCaptionWhite);

    for (QLabel* label : {&m_Label2, &m_Label3, &m_Label5, &m_Label4, &m_Label1, &m_Label6}) {
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        setRole(*label, QPalette::WindowText, kCaptionWhite);
    }

    for (QWidget* box : std::initializer_list<QWidget*>{&m_txtrate, &m_txtAmount, &m_txtDuration,
                                                        &m_emi, &m_cmb}) {
        setColours(*box, QPalette::Base, kBoxGrey, QPalette::Text, kBoxText);
    }

    m_btnShowPayment.setFont(interfaceFont(kCalculatePoints, true));
    m_btnShowPayment.setStyleSheet(colouredButtonStyle(kCalculateYellow));
    m_cmd.setStyleSheet(colouredButtonStyle(kDeveloperGreen));

    // The green belongs to the window alone: the grid's scroll bars and the drop-down lists of
    // the combo box and the date picker keep the standard colour.
    const QPalette standard = QApplication::palette();
    for (QWidget* control : std::initializer_list<QWidget*>{&m_DG, &m_cmb, &m_DTP}) {
        setColours(*control, QPalette::Window, standard.color(QPalette::Window),
                   QPalette::WindowText, standard.color(QPalette::WindowText));
    }

    const QFont cellFont = interfaceFont(kGridCellPoints, false);
    m_DG.setFont(cellFont);
    // Tab moves on to the next control instead of from cell to cell.
    m_DG.setTabKeyNavigation(false);
    m_DG.horizontalHeader()->setFont(interfaceFont(kGridHeadingPoints, true));
    // Rows as high as their small text needs, not the style's generous default.
    constexpr int kRowPadding = 6;
    m_DG.verticalHeader()->setMinimumSectionSize(0);
    // SN is the row's number already; a second one beside it would only take room.
    m_DG.verticalHeader()->hide();
    m_DG.verticalHeader()->setDefaultSectionSize(QFontMetrics(cellFont).height() + kRowPadding);
}

void Form1::installReportButton(QAction* copy) {
    m_reportButton.setText(QStringLiteral("Report"));
    m_reportButton.setToolTip(
        QStringLiteral("Print preview (Ctrl+P), export PDF (Ctrl+E) or CSV (Ctrl+Shift+E), copy "
                       "the selected rows (Ctrl+C in the grid)"));
    m_reportButton.setPopupMode(QToolButton::InstantPopup);
    m_reportButton.setToolButtonStyle(Qt::ToolButtonTextOnly);
    // The specified tab order stays as it is: the keyboard reaches every entry by its shortcut.
    m_reportButton.setFocusPolicy(Qt::NoFocus);
    auto* menu = new QMenu(&m_reportButton);  // owned by the button
    // Like the other drop-downs, the menu keeps the standard colours, not the window's green.
    menu->setPalette(QApplication::palette());
    menu->addActions(
        {m_reportActions.preview, m_reportActions.exportPdf, m_reportActions.exportCsv});
    menu->addSeparator();
    menu->addAction(copy);
    m_reportButton.setMenu(menu);
}

void Form1::nameForAssistiveTechnology() {
    // A label's buddy takes the label's text as its accessible name, so a screen reader says
    // "Loan Amount" where it would say "edit". The labels look and behave as before.
    m_Label2.setBuddy(&m_DTP);
    m_Label3.setBuddy(&m_txtrate);
    m_Label5.setBuddy(&m_txtAmount);
    m_Label4.setBuddy(&m_cmb);
    m_Label1.setBuddy(&m_txtDuration);
    m_Label6.setBuddy(&m_emi);
    // Each input and its label are named by the caption as it is spoken, without the " :".
    const std::pair<QLabel*, QWidget*> captions[] = {
        {&m_Label2, &m_DTP},           {&m_Label3, &m_txtrate},     {&m_Label5, &m_txtAmount},
        {&m_Label4, &m_cmb},           {&m_Label1, &m_txtDuration}, {&m_Label6, &m_emi},
        {&m_Label4, m_cmb.lineEdit()},
    };
    for (const auto& [label, control] : captions) {
        label->setAccessibleName(spokenName(*label));
        control->setAccessibleName(spokenName(*label));
    }
    m_emi.setAccessibleDescription(
        QStringLiteral("The computed monthly instalment, rounded to the chosen decimals"));
    // The grid has no label of its own.
    m_DG.setAccessibleName(QStringLiteral("Instalment schedule"));
}

void Form1::orderTabs() {
    QWidget* const order[] = {&m_btnShowPayment, &m_emi, &m_cmb, &m_txtrate, &m_txtDuration,
                              &m_txtAmount,      &m_DTP, &m_DG,  &m_cmd};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void Form1::Form_Load() {
    placeWindow();
    m_cmb.addItem(QStringLiteral("0"));
    m_cmb.addItem(QStringLiteral("2"));
    m_cmb.setCurrentIndex(0);
}

void Form1::placeWindow() {
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    move(x(), 0);
    // The window's size counts its frame where the platform draws one.
    const QSize frameExtra = frameGeometry().size() - size();
    m_designedSize = QSize(twipsToPixels(kWindowWidthTwips, dpiX) - frameExtra.width(),
                           twipsToPixels(kWindowHeightTwips, dpiY) - frameExtra.height());
    // Every control above the grid stays whole, and the grid keeps a few rows; never more than
    // the start-up size, which must stay reachable.
    const int gridBottomMargin = std::max(
        0, m_designedSize.height() - twipsToPixels(kGridTopTwips + kGridHeightTwips, dpiY));
    const QSize smallest(
        twipsToPixels(kRightmostControlEdgeTwips, dpiX),
        twipsToPixels(kGridTopTwips + kSmallestGridHeightTwips, dpiY) + gridBottomMargin);
    setMinimumSize(smallest.boundedTo(m_designedSize));
    resize(m_designedSize);
    const QScreen* const display = screen();
    if (display == nullptr) {
        return;
    }
    // Centred across the screen in single precision; on a narrow screen the left edge goes
    // below zero and the window's sides are cut evenly.
    const auto screenTwips = static_cast<float>(pixelsToTwips(display->geometry().width(), dpiX));
    const auto widthTwips = static_cast<float>(pixelsToTwips(frameGeometry().width(), dpiX));
    const float left = screenTwips / 2.0f - widthTwips / 2.0f;
    move(display->geometry().x() + twipsToPixels(left, dpiX), display->geometry().y());
}

void Form1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Before the window exists its frame is unknown; once shown, place it again with the frame
    // counted so the outer size is the designed one.
    if (!m_placedWithFrame && frameGeometry().size() != size()) {
        m_placedWithFrame = true;
        placeWindow();
    }
}

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The title band spans the whole width however wide the window is made.
    QRect band = m_Label7.geometry();
    band.setWidth(std::max(twipsToPixels(kTitleBandWidthTwips, logicalDpiX()), width()));
    m_Label7.setGeometry(band);
    layOutForSize();
}

void Form1::layOutForSize() {
    if (!m_designedSize.isValid()) {
        return;
    }
    // The grid follows the window's edges; everything else keeps its place.
    const QRect designed = twipsRect(kGridLeftTwips, kGridTopTwips, kGridWidthTwips,
                                     kGridHeightTwips, logicalDpiX(), logicalDpiY());
    const QSize change = size() - m_designedSize;
    m_DG.setGeometry(designed.x(), designed.y(), std::max(0, designed.width() + change.width()),
                     std::max(0, designed.height() + change.height()));
}

bool Form1::isInputBox(const QWidget* widget) const {
    if (widget == nullptr) {
        return false;
    }
    for (const QWidget* box : std::initializer_list<const QWidget*>{
             &m_txtAmount, &m_txtDuration, &m_txtrate, &m_emi, &m_cmb, &m_DTP}) {
        if (widget == box || box->isAncestorOf(widget)) {
            return true;
        }
    }
    return false;
}

void Form1::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter && plain && isInputBox(QApplication::focusWidget())) {
        event->accept();
        m_btnShowPayment.click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void Form1::showAmounts() {
    RecordsetModel* const model = m_grid.model();
    if (model == nullptr) {
        return;
    }
    // The amounts show the decimals this calculation rounded to, as the report prints them.
    int decimals = kMostShownDecimals;
    try {
        decimals = std::clamp<int>(toInteger16(RoundTo), 0, kMostShownDecimals);
    } catch (const RuntimeError&) {
        // Decimals beyond a whole 16-bit number: the most a double can show.
    }
    constexpr int kFirstAmountColumn = 1;
    constexpr int kLastAmountColumn = 4;
    for (int column = kFirstAmountColumn;
         column <= kLastAmountColumn && column < model->columnCount(); ++column) {
        model->setAmountColumn(column, decimals);
    }
}

void Form1::btnShowPayment_Click() {
    static const std::string kCaption = "Check Input";
    const struct {
        const QLineEdit* box;
        const char* message;
    } checks[] = {
        {&m_txtAmount, "Please enter Amount in Numeric"},
        {&m_txtDuration, "Please enter Duration in Numeric"},
        {&m_txtrate, "Please enter Interest Rate in Numeric"},
    };
    for (const auto& check : checks) {
        if (!isNumeric(check.box->text().toStdString())) {
            MsgBox(check.message, vbInformation, kCaption);
        }
    }
    m_emi.setText(QString());
    const BusyCursor working;
    showinDG();
    showAmounts();
}

void Form1::cmd_Click() {
    // The browser is the desktop's business; if none opens there is nothing more to do.
    QDesktopServices::openUrl(QUrl(developerUrl()));
}

}  // namespace quillet
