// Calculate: each input box that does not hold a number is reported, in a fixed order, before the
// schedule runs.

#include "WindowFixture.h"

namespace quillet::testing {
namespace {

const std::string kCheckCaption = "Check Input";
const std::string kAmountMessage = "Please enter Amount in Numeric";
const std::string kDurationMessage = "Please enter Duration in Numeric";
const std::string kRateMessage = "Please enter Interest Rate in Numeric";

class Calculate : public WindowFixture {
protected:
    void calculate(const QString& amount, const QString& duration, const QString& rate) {
        form().txtAmount()->setText(amount);
        form().txtDuration()->setText(duration);
        form().txtrate()->setText(rate);
        QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    }
};

TEST_F(Calculate, TheKeyboardPressesCalculateToo) {
    form().cmb()->setCurrentIndex(1);
    focusOn(form().btnShowPayment());
    QTest::keyClick(form().btnShowPayment(), Qt::Key_Return);
    EXPECT_EQ(form().emi()->text(), "11102.05");
    EXPECT_TRUE(messages().empty());
}

// An empty box is no number either, and the run then reports its own failure.
TEST_F(Calculate, ReportsAmountDurationAndRateInThatOrderAndTheRateOnce) {
    calculate(QString(), QStringLiteral("ten"), QStringLiteral("6%"));
    // The checks come first, before the run says anything of its own, and only these three.
    const std::string expected[] = {kAmountMessage, kDurationMessage, kRateMessage};
    ASSERT_EQ(messages().size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages()[i].prompt, expected[i]);
        EXPECT_EQ(messages()[i].title, kCheckCaption);
        EXPECT_EQ(messages()[i].buttons, vbInformation);
    }
    EXPECT_EQ(messages()[3].title, kApplicationTitle);
    EXPECT_EQ(messages()[3].buttons, vbOKOnly);
    EXPECT_EQ(form().emi()->text(), "0");
    EXPECT_EQ(form().txtDuration()->text(), "ten");  // the texts stay as typed
}

}  // namespace
}  // namespace quillet::testing
