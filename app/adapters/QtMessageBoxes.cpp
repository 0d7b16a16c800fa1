#include "adapters/QtMessageBoxes.h"

#include "adapters/BusyCursor.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <utility>
#include <vector>

namespace quillet {

namespace {

constexpr int kButtonSetMask = 0x7;
constexpr int kIconMask = 0x70;
constexpr int kDefaultButtonMask = 0x300;
constexpr int kDefaultButtonShift = 8;

constexpr int kCancel = 2;
constexpr int kAbort = 3;
constexpr int kRetry = 4;
constexpr int kIgnore = 5;
constexpr int kYes = 6;
constexpr int kNo = 7;

using ButtonSet = std::vector<std::pair<QMessageBox::StandardButton, int>>;

ButtonSet buttonSet(int buttons) {
    switch (buttons & kButtonSetMask) {
        case 1:
            return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, kCancel}};
        case 2:
            return {{QMessageBox::Abort, kAbort},
                    {QMessageBox::Retry, kRetry},
                    {QMessageBox::Ignore, kIgnore}};
        case 3:
            return {
                {QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}, {QMessageBox::Cancel, kCancel}};
        case 4:
            return {{QMessageBox::Yes, kYes}, {QMessageBox::No, kNo}};
        case 5:
            return {{QMessageBox::Retry, kRetry}, {QMessageBox::Cancel, kCancel}};
        default:
            return {{QMessageBox::Ok, vbOK}};
    }
}

QMessageBox::Icon icon(int buttons) {
    switch (buttons & kIconMask) {
        case 16:
            return QMessageBox::Critical;
        case 32:
            return QMessageBox::Question;
        case 48:
            return QMessageBox::Warning;
        case 64:
            return QMessageBox::Information;
        default:
            return QMessageBox::NoIcon;
    }
}

}  // namespace

int QtMessageBoxes::show(const std::string& prompt, int buttons, const std::string& title) {
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(QString::fromStdString(title));
    // Error descriptions may hold '<' or '&'; they are shown as written.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString::fromStdString(prompt));
    box.setIcon(icon(buttons));

    const ButtonSet set = buttonSet(buttons);
    for (const auto& [standard, result] : set) {
        box.addButton(standard);
    }
    const auto defaultIndex =
        static_cast<std::size_t>((buttons & kDefaultButtonMask) >> kDefaultButtonShift);
    if (defaultIndex < set.size()) {
        box.setDefaultButton(set[defaultIndex].first);
    }
    // Esc and the close box count as Cancel, or as the only button; other sets are left to
    // Qt's own choice.
    const auto escape =
        std::find_if(set.begin(), set.end(), [](const auto& b) { return b.second == kCancel; });
    if (escape != set.end()) {
        box.setEscapeButton(escape->first);
    } else if (set.size() == 1) {
        box.setEscapeButton(set.front().first);
    }

    {
        const BusyCursorPause waitingForTheUser;
        box.exec();
    }
    const QAbstractButton* pressed = box.clickedButton();
    for (const auto& [standard, result] : set) {
        if (pressed == box.button(standard)) {
            return result;
        }
    }
    return escape != set.end() ? kCancel : set.front().second;
}

}  // namespace quillet
