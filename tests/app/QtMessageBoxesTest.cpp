// Messages shown as Qt message boxes: caption, icon, text and the button pressed.

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "WindowFixture.h"
#include "gui/QtMessageBoxes.h"

namespace quillet::test {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QWidget* parent = nullptr;
    Qt::TextFormat format = Qt::AutoText;
};

using MessageBoxes = WindowFixture;

// Shows one message and, once its box is up, notes what it shows and presses `press`.
int showAndPress(const std::string& prompt, int buttons, const std::string& title,
                 QMessageBox::StandardButton press, SeenBox& seen) {
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        watcher.stop();
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.parent = box->parentWidget();
        seen.format = box->textFormat();
        for (QAbstractButton* b : box->buttons()) {
            seen.buttons.push_back(box->standardButton(b));
        }
        if (QAbstractButton* b = box->button(press)) {
            b->click();
        } else {
            box->reject();
        }
    });
    watcher.start(10);
    QtMessageBoxes service;
    return service.show(prompt, buttons, title);
}

TEST_F(MessageBoxes, InformationBoxHasItsCaptionIconAndOk) {
    SeenBox seen;
    EXPECT_EQ(showAndPress("Please enter Amount in Numeric", vbInformation, "Check Input",
                           QMessageBox::Ok, seen),
              vbOK);
    EXPECT_EQ(seen.title, "Check Input");
    EXPECT_EQ(seen.text, "Please enter Amount in Numeric");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(seen.buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    EXPECT_EQ(seen.parent, &form());
}

TEST_F(MessageBoxes, PlainBoxHasNoIconAndShowsTheTextAsWritten) {
    SeenBox seen;
    EXPECT_EQ(
        showAndPress("near \"<b>x</b>\": syntax error", vbOKOnly, "Quillet", QMessageBox::Ok, seen),
        vbOK);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.title, "Quillet");
    EXPECT_EQ(seen.text, "near \"<b>x</b>\": syntax error");
    EXPECT_EQ(seen.format, Qt::PlainText);
}

TEST_F(MessageBoxes, OtherButtonSetsAnswerWithTheirClassicNumbers) {
    SeenBox seen;
    EXPECT_EQ(showAndPress("Delete?", 4 + 32, "Status", QMessageBox::No, seen), 7);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons.size(), 2);

    SeenBox cancelled;
    EXPECT_EQ(showAndPress("Go on?", 1 + 48, "Info", QMessageBox::Cancel, cancelled), 2);
    EXPECT_EQ(cancelled.icon, QMessageBox::Warning);

    SeenBox retried;
    EXPECT_EQ(showAndPress("Failed", 5 + 16, "Info", QMessageBox::Retry, retried), 4);
    EXPECT_EQ(retried.icon, QMessageBox::Critical);
}

}  // namespace
}  // namespace quillet::test
