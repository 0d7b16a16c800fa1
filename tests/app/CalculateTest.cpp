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
        form().emi()->setText(QStringLiteral("stale"));
        QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    }

    std::vector<std::string> checkMessages() const {
        std::vector<std::string> prompts;
        for (const RecordedMessage& m : messages()) {
            if (m.title == kCheckCaption) {
                EXPECT_EQ(m.buttons, vbInformation) << m.prompt;
                prompts.push_back(m.prompt);
            }
        }
        return prompts;
    }
};

TEST_F(Calculate, NumbersEverywhereRunWithoutAMessageAndFillTheInstalment) {
    calculate(QStringLiteral("1000000"), QStringLiteral("120"), QStringLiteral("6"));
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(form().emi()->text(), "11102");
}

TEST_F(Calculate, ReportsAmountDurationAndRateInThatOrderAndTheRateOnce) {
    calculate(QStringLiteral("ten"), QString(), QStringLiteral("6%"));
    ASSERT_GE(messages().size(), 3u);
    // The checks come first, before the run says anything of its own.
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(messages()[i].title, kCheckCaption);
        EXPECT_EQ(messages()[i].buttons, vbInformation);
        // The instalment box is only cleared once every check has spoken.
        EXPECT_EQ(messages()[i].emiAtTheTime, "stale");
    }
    EXPECT_EQ(checkMessages(),
              (std::vector<std::string>{kAmountMessage, kDurationMessage, kRateMessage}));
    // The texts stay as typed.
    EXPECT_EQ(form().txtAmount()->text(), "ten");
    EXPECT_EQ(form().txtrate()->text(), "6%");
}

TEST_F(Calculate, OnlyTheBadBoxesAreReported) {
    calculate(QStringLiteral("1000000"), QStringLiteral("120"), QStringLiteral("x"));
    EXPECT_EQ(checkMessages(), std::vector<std::string>{kRateMessage});

    calculate(QStringLiteral("1000000"), QStringLiteral("12.5"), QStringLiteral("6"));
    EXPECT_EQ(checkMessages(), std::vector<std::string>{kRateMessage});  // nothing new

    calculate(QStringLiteral("1,000,000"), QStringLiteral("120"), QStringLiteral(" 6.5 "));
    EXPECT_EQ(checkMessages(), (std::vector<std::string>{kRateMessage, kAmountMessage}));
}

TEST_F(Calculate, AnEmptyAmountIsReportedThenTheRunReportsItsOwnFailure) {
    calculate(QString(), QStringLiteral("120"), QStringLiteral("6"));
    ASSERT_GE(messages().size(), 2u);
    EXPECT_EQ(messages()[0].prompt, kAmountMessage);
    EXPECT_EQ(messages()[0].title, kCheckCaption);
    // The run's own message comes after the box was cleared and under the program's title.
    const RecordedMessage& run = messages()[1];
    EXPECT_NE(run.title, kCheckCaption);
    EXPECT_EQ(run.title, kApplicationTitle);
    EXPECT_EQ(run.buttons, vbOKOnly);
    EXPECT_EQ(run.emiAtTheTime, "");
    EXPECT_EQ(form().emi()->text(), "0");
}

TEST_F(Calculate, TheKeyboardPressesCalculateToo) {
    form().emi()->setText(QStringLiteral("stale"));
    ASSERT_EQ(QApplication::focusWidget(), form().btnShowPayment());
    QTest::keyClick(form().btnShowPayment(), Qt::Key_Return);
    EXPECT_EQ(form().emi()->text(), "11102");

    form().cmb()->setCurrentIndex(1);
    form().btnShowPayment()->setFocus();
    QTest::keyClick(form().btnShowPayment(), Qt::Key_Space);
    EXPECT_EQ(form().emi()->text(), "11102.05");
    EXPECT_TRUE(messages().empty());
}

}  // namespace
}  // namespace quillet::test
