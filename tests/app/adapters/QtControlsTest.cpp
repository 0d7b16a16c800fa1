// The Qt widgets as the record-store class sees them, and its message boxes as Qt shows them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <tuple>

#include "adapters/QtControls.h"
#include "adapters/QtMessageBoxes.h"
#include "support/ErrorNumber.h"

namespace quillet::testing {
namespace {

TEST(QtControls, TextBoxesLabelsAndCombosTakeTextButNotNullAndCombosServeAsLists) {
    QLineEdit edit;
    QLabel label;
    QPlainTextEdit notes;
    QComboBox combo;
    combo.setEditable(true);
    for (QWidget* widget : std::initializer_list<QWidget*>{&edit, &label, &notes, &combo}) {
        const Object control = bindControl(widget);
        setText(control, Variant(42.5));
        EXPECT_EQ(getText(control).toString(), "42.5");
        EXPECT_EQ(errorNumberOf([&] { setText(control, Variant::null()); }), 94);
        EXPECT_EQ(getText(control).toString(), "42.5");
    }
    // The combo box as a list.
    const auto list = bindList(&combo);
    list->AddItem("A");
    list->AddItem("B");
    list->setListIndex(1);
    EXPECT_EQ(combo.currentText(), "B");
    list->Clear();
    EXPECT_EQ(errorNumberOf([&] { list->setListIndex(0); }), 380);
}

TEST(QtControls, DatePickersTakeDatesAsValueAndOtherWidgetsRaise) {
    QDateEdit picker;
    const Object control = bindControl(&picker);
    setValue(control, Variant("25/03/1970"));
    EXPECT_EQ(picker.date(), QDate(1970, 3, 25));
    EXPECT_EQ(control->getProperty("Value").toDate(), (Date{1970, 3, 25}));
    EXPECT_EQ(errorNumberOf([&] { setValue(control, Variant("abc")); }), 13);
    // A property the widget lacks, and a widget that is gone.
    QPushButton button;
    EXPECT_EQ(errorNumberOf([&] { setText(bindControl(&button), "x"); }), 438);
    QLineEdit edit;
    EXPECT_EQ(errorNumberOf([&] { setValue(bindControl(&edit), Variant(Date{2024, 1, 1})); }), 438);
    Object orphan;
    {
        QLineEdit gone;
        orphan = bindControl(&gone);
    }
    EXPECT_EQ(errorNumberOf([&] { setText(orphan, "x"); }), 91);
}

TEST(QtMessageBoxes, ShowPromptsAsPlainTextWithTheClassicIcons) {
    // Shows one box and reads it while it is open, then presses its default button.
    const auto show = [](const std::string& prompt, int buttons, int& result) {
        std::tuple<QMessageBox::Icon, Qt::TextFormat, QString> seen{};
        QTimer::singleShot(0, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    seen = {box->icon(), box->textFormat(), box->text()};
                    box->defaultButton() ? box->defaultButton()->click() : box->accept();
                }
            }
        });
        result = QtMessageBoxes().show(prompt, buttons, "Quillet");
        return seen;
    };
    int result = 0;
    EXPECT_EQ(std::get<0>(show("Deleted", 64, result)), QMessageBox::Information);
    EXPECT_EQ(result, 1);
    // An error description is shown as typed, never read as markup.
    const auto error = show("near \"<b>\": syntax error", 0, result);
    EXPECT_EQ(error, std::tuple(QMessageBox::NoIcon, Qt::PlainText,
                                QStringLiteral("near \"<b>\": syntax error")));
}

}  // namespace
}  // namespace quillet::testing
