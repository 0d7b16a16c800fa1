#include <gtest/gtest.h>

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "adapters/QtControls.h"
#include "support/ErrorNumber.h"

namespace quillet::testing {
namespace {

TEST(QtControls, TextBoxesLabelsAndCombosTakeText) {
    QLineEdit edit;
    QLabel label;
    QPlainTextEdit notes;
    QComboBox combo;
    combo.setEditable(true);
    for (QWidget* widget : std::initializer_list<QWidget*>{&edit, &label, &notes, &combo}) {
        const Object control = bindControl(widget);
        setText(control, Variant(42.5));
        EXPECT_EQ(getText(control).toString(), "42.5");
        // A Null is refused the way a text box refuses it, and the text stays.
        EXPECT_EQ(errorNumberOf([&] { setText(control, Variant::null()); }), 94);
        EXPECT_EQ(getText(control).toString(), "42.5");
    }
}

TEST(QtControls, DatePickersTakeDatesAsValue) {
    QDateEdit picker;
    const Object control = bindControl(&picker);
    setValue(control, Variant("25/03/1970"));
    EXPECT_EQ(picker.date(), QDate(1970, 3, 25));
    EXPECT_EQ(control->getProperty("Value").toDate(), (Date{1970, 3, 25}));
    EXPECT_EQ(errorNumberOf([&] { setValue(control, Variant("abc")); }), 13);
}

TEST(QtControls, MissingPropertiesAndDeletedWidgetsRaise) {
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

TEST(QtControls, ComboBoxesAsLists) {
    QComboBox combo;
    const auto list = bindList(&combo);
    list->AddItem("A");
    list->AddItem("B");
    list->setListIndex(1);
    EXPECT_EQ(combo.currentText(), "B");
    list->Clear();
    EXPECT_EQ(errorNumberOf([&] { list->setListIndex(0); }), 380);
}

}  // namespace
}  // namespace quillet::testing
