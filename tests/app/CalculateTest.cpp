// Calculate: each input box that does not hold a number is reported, in a fixed order, before the
// schedule runs.

#include <algorithm>

#include "WindowFixture.h"

namespace quillet::test {
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

TEST_F(Calculate, NumbersEverywhereFillTheInstalmentAtTheChosenDecimals) {
    calculate(QStringLiteral("1000000"), QStringLiteral("120"), QStringLiteral("6"));
    EXPECT_EQ(form().emi()->text(), "11102");
    // The keyboard presses Calculate too.
    form().cmb()->setCurrentIndex(1);
    focusOn(form().btnShowPayment());
    QTest::keyClick(form().btnShowPayment(), Qt::Key_Return);
    EXPECT_EQ(form().emi()->text(), "11102.05");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Calculate, ReportsAmountDurationAndRateInThatOrderAndTheRateOnce) {
    calculate(QStringLiteral("ten"), QString(), QStringLiteral("6%"));
    // The checks come first, before the run says anything of its own, and only these three.
    const std::string expected[] = {kAmountMessage, kDurationMessage, kRateMessage};
    ASSERT_GE(messages().size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages()[i].prompt, expected[i]);
        EXPECT_EQ(messages()[i].title, kCheckCaption);
        EXPECT_EQ(messages()[i].buttons, vbInformation);
    }
    EXPECT_EQ(std::count_if(messages().begin(), messages().end(),
                            [](const RecordedMessage& m) { return m.title == kCheckCaption; }),
              3);
    EXPECT_EQ(form().txtAmount()->text(), "ten");  // the texts stay as typed
}

TEST_F(Calculate, AnEmptyAmountIsReportedThenTheRunReportsItsOwnFailure) {
    calculate(QString(), QStringLiteral("120"), QStringLiteral("6"));
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, kAmountMessage);
    EXPECT_EQ(messages()[1].title, kApplicationTitle);
    EXPECT_EQ(messages()[1].buttons, vbOKOnly);
    EXPECT_EQ(form().emi()->text(), "0");
}

}  // namespace
}  // namespace quillet::test
