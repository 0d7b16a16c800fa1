// Calculate: Enter in any input box runs it; each box that does not hold a number is reported, in
// a fixed order, before the schedule runs.

#include "WindowFixture.h"

namespace quillet::testing {
namespace {

class Calculate : public WindowFixture {
protected:
    void fill(const QString& amount, const QString& duration, const QString& rate) {
        form().txtAmount()->setText(amount);
        form().txtDuration()->setText(duration);
        form().txtrate()->setText(rate);
    }
};

TEST_F(Calculate, EnterInEachInputBoxOrOnTheButtonCalculatesButNotInTheGridNorWithCtrl) {
    const struct {
        QWidget* receiver;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    } presses[] = {
        {form().txtAmount(), Qt::Key_Return, {}},
        {form().txtDuration(), Qt::Key_Return, {}},
        {form().txtrate(), Qt::Key_Return, {}},
        {form().cmb(), Qt::Key_Return, {}},
        {form().DTP(), Qt::Key_Return, {}},
        {form().emi(), Qt::Key_Return, {}},
        {form().btnShowPayment(), Qt::Key_Return, {}},
        {form().txtAmount(), Qt::Key_Enter, Qt::KeypadModifier},
    };
    int amount = 1000;
    for (const auto& press : presses) {
        SCOPED_TRACE(press.receiver->objectName().toStdString());
        // A new amount each time, so each Enter must have calculated to show it.
        amount += 1000;
        fill(QString::number(amount), QStringLiteral("10"), QStringLiteral("0"));
        focusOn(press.receiver);
        QTest::keyClick(press.receiver, press.key, press.modifiers);
        EXPECT_EQ(form().emi()->text(), QString::number(amount / 10));
        ASSERT_NE(form().DG()->model(), nullptr);
        EXPECT_EQ(form().DG()->model()->rowCount(), 10);
    }
    const QString last = form().emi()->text();
    form().txtAmount()->setText(QStringLiteral("99000"));
    for (const auto& [receiver, modifiers] :
         {std::pair<QWidget*, Qt::KeyboardModifiers>{form().DG(), {}},
          std::pair<QWidget*, Qt::KeyboardModifiers>{form().txtAmount(), Qt::ControlModifier}}) {
        focusOn(receiver);
        QTest::keyClick(receiver, Qt::Key_Return, modifiers);
        EXPECT_EQ(form().emi()->text(), last);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Calculate, TheInstalmentBoxCanBeSelectedAndCopiedButNotTypedInto) {
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    ASSERT_EQ(form().emi()->text(), "11102");
    focusOn(form().emi());
    QTest::keyClicks(form().emi(), QStringLiteral("99"));
    QTest::keyClick(form().emi(), Qt::Key_Backspace);
    EXPECT_EQ(form().emi()->text(), "11102");
    form().emi()->selectAll();
    EXPECT_EQ(form().emi()->selectedText(), "11102");
}

// An empty box is no number either, and the run then reports its own failure.
TEST_F(Calculate, ReportsAmountDurationAndRateInThatOrderAndTheRateOnce) {
    fill(QString(), QStringLiteral("ten"), QStringLiteral("6%"));
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    // The checks come first, before the run says anything of its own, and only these three.
    const std::string expected[] = {"Please enter Amount in Numeric",
                                    "Please enter Duration in Numeric",
                                    "Please enter Interest Rate in Numeric"};
    ASSERT_EQ(messages().size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages()[i].prompt, expected[i]);
        EXPECT_EQ(messages()[i].title, "Check Input");
        EXPECT_EQ(messages()[i].buttons, vbInformation);
    }
    EXPECT_EQ(messages()[3].title, kApplicationTitle);
    EXPECT_EQ(messages()[3].buttons, vbOKOnly);
    EXPECT_EQ(form().emi()->text(), "0");
    EXPECT_EQ(form().txtDuration()->text(), "ten");  // the texts stay as typed
}

}  // namespace
}  // namespace quillet::testing
