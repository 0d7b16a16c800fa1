#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "adapters/QtMessageBoxes.h"

namespace quillet::testing {
namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
};

// Shows one box and reads it back while it is open, then presses its default button.
SeenBox showAndRead(const std::string& prompt, int buttons, const std::string& title, int* result) {
    SeenBox seen;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                seen = {box->windowTitle(), box->text(), box->icon(), box->textFormat()};
                box->defaultButton() ? box->defaultButton()->click() : box->accept();
            }
        }
    });
    *result = QtMessageBoxes().show(prompt, buttons, title);
    return seen;
}

TEST(QtMessageBoxes, ShowPromptsAsPlainTextWithTheClassicIcons) {
    int result = 0;
    SeenBox seen = showAndRead("Deleted", 64, "Info", &result);
    EXPECT_EQ(seen.title, "Info");
    EXPECT_EQ(seen.icon, QMessageBox::Information);
    EXPECT_EQ(result, 1);

    // An error description is shown as typed, never read as markup.
    seen = showAndRead("near \"<b>\": syntax error", 0, "Quillet", &result);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, "near \"<b>\": syntax error");
}

}  // namespace
}  // namespace quillet::testing
