// Calculating from the keyboard: Enter in any input box is the window's default action, and the
// instalment box holds the answer without taking typing.

#include "app/gui/WindowFixture.h"

namespace quillet::testing {
namespace {

using CalculateByKeyboard = WindowFixture;

TEST_F(CalculateByKeyboard, EnterInEachInputBoxRunsCalculate) {
    struct Box {
        const char* name;
        QWidget* receiver;
    };
    const Box boxes[] = {
        {"amount", form().txtAmount()}, {"duration", form().txtDuration()},
        {"rate", form().txtrate()},     {"decimals", form().cmb()},
        {"start date", form().DTP()},
    };
    int amount = 1000;
    for (const Box& box : boxes) {
        SCOPED_TRACE(box.name);
        // A new amount each time, so each Enter must have calculated to show it.
        amount += 1000;
        form().txtAmount()->setText(QString::number(amount));
        form().txtDuration()->setText(QStringLiteral("10"));
        form().txtrate()->setText(QStringLiteral("0"));
        focusOn(box.receiver);
        QTest::keyClick(box.receiver, Qt::Key_Return);
        EXPECT_EQ(form().emi()->text(), QString::number(amount / 10));
        ASSERT_NE(form().DG()->model(), nullptr);
        EXPECT_EQ(form().DG()->model()->rowCount(), 10);
    }
    // The keypad's Enter does the same.
    form().txtAmount()->setText(QStringLiteral("500"));
    focusOn(form().txtAmount());
    QTest::keyClick(form().txtAmount(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(form().emi()->text(), "50");
    EXPECT_TRUE(messages().empty());
}

TEST_F(CalculateByKeyboard, EnterInTheGridOrWithAModifierDoesNotCalculate) {
    focusOn(form().DG());
    QTest::keyClick(form().DG(), Qt::Key_Return);
    EXPECT_EQ(form().emi()->text(), "");
    focusOn(form().txtAmount());
    QTest::keyClick(form().txtAmount(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(form().emi()->text(), "");
}

TEST_F(CalculateByKeyboard, TheInstalmentBoxCanBeSelectedAndCopiedButNotTypedInto) {
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    ASSERT_EQ(form().emi()->text(), "11102");
    focusOn(form().emi());
    QTest::keyClicks(form().emi(), QStringLiteral("99"));
    QTest::keyClick(form().emi(), Qt::Key_Backspace);
    EXPECT_EQ(form().emi()->text(), "11102");
    form().emi()->selectAll();
    EXPECT_EQ(form().emi()->selectedText(), "11102");
    // Enter in it calculates again, like in every other box.
    form().txtAmount()->setText(QStringLiteral("2000"));
    QTest::keyClick(form().emi(), Qt::Key_Return);
    EXPECT_EQ(form().emi()->text(), "22");
}

}  // namespace
}  // namespace quillet::testing
