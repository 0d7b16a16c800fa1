// The report's first page sums the loan up beside its terms; its last page explains why a
// column's total can differ from the loan; the chart's axes count in whole units.

#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "render/ReportExport.h"
#include "report/ReportNumbers.h"
#include "runtime/Numbers.h"
#include "support/ReportFixture.h"

namespace quillet::testing {
namespace {

class ReportPages : public ReportTest {
protected:
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
        }
    }

    std::vector<std::string> report(const ScheduleInputs& inputs) {
        std::string error;
        EXPECT_TRUE(writeScheduleReport(shippedDefinition(), inputs, file("r.pdf"), {}, error))
            << error;
        return pdfPages(file("r.pdf"));
    }

    /// The figure printed after label on the page, e.g. "Total interest  332,246.12".
    static std::string figureAfter(const std::string& page, const std::string& label) {
        std::smatch m;
        if (std::regex_search(page, m, std::regex(label + R"(\s+([-\d,.]+))"))) {
            return m[1];
        }
        return "(no " + label + ")";
    }
};

TEST_F(ReportPages, TheFirstPageSumsTheLoanUpAsTheTotalsRowDoes) {
    ScheduleInputs inputs;
    inputs.amount = "1000000";
    inputs.decimals = "2";
    const auto stored = storeSchedule(inputs);
    const auto pages = report(inputs);
    ASSERT_GE(pages.size(), 2U);
    const std::string& first = pages.front();

    // The sums of the printed figures, as the reader would add them up.
    long long interest = 0;
    long long principal = 0;
    for (const auto& row : stored) {
        interest += scaledUnits(formatFixed(parseNumber(row[3]).value(), 2, false), 2).value();
        principal += scaledUnits(formatFixed(parseNumber(row[4]).value(), 2, false), 2).value();
    }
    const std::string totalInterest = formatFixed(static_cast<double>(interest) / 100, 2, true);
    const std::string totalPayable =
        formatFixed(static_cast<double>(interest + principal) / 100, 2, true);
    EXPECT_EQ(figureAfter(first, "Total interest"), totalInterest) << first;
    EXPECT_EQ(figureAfter(first, "Total payable"), totalPayable);
    EXPECT_EQ(figureAfter(first, "Number of instalments"), "120");
    EXPECT_NE(first.find("Last instalment due"), std::string::npos);
    EXPECT_TRUE(std::regex_search(first, std::regex(R"(Last instalment due\s+01/Dec/2033)")))
        << first;
    // The summary stands beside the terms: on the same line as the loan amount.
    EXPECT_TRUE(
        std::regex_search(first, std::regex(R"(Loan amount\s+1,000,000\.00\s+Total interest)")))
        << first;
    // And agrees with the totals row of the last page (payment, interest columns).
    std::smatch totals;
    ASSERT_TRUE(std::regex_search(
        pages.back(), totals, std::regex(R"(Total \(120 instalments\)\s+([\d,.]+)\s+([\d,.]+))")));
    EXPECT_EQ(totals[1].str(), totalPayable);
    EXPECT_EQ(totals[2].str(), totalInterest);
}

TEST_F(ReportPages, UnderTheTotalsANoteSaysEachAmountIsRoundedOnItsOwn) {
    ScheduleInputs inputs;
    const auto pages = report(inputs);
    ASSERT_FALSE(pages.empty());
    const std::string& last = pages.back();
    const std::size_t totals = last.find("Total (120 instalments)");
    const std::size_t note = last.find("Each amount is rounded on its own from the exact schedule");
    ASSERT_NE(totals, std::string::npos) << last;
    ASSERT_NE(note, std::string::npos) << last;
    EXPECT_GT(note, totals);
    // Only where the totals are: no other page carries it.
    for (std::size_t p = 0; p + 1 < pages.size(); ++p) {
        EXPECT_EQ(pages[p].find("rounded on its own"), std::string::npos) << "page " << p + 1;
    }
}

TEST_F(ReportPages, TheChartsAxesCountInWholeUnitsAtTwoDecimals) {
    ScheduleInputs inputs;
    inputs.amount = "1234567.89";
    inputs.decimals = "2";
    const auto pages = report(inputs);
    ASSERT_FALSE(pages.empty());
    // Everything above the table's headings: terms, summary and the chart with its axes.
    const std::string top = pages.front().substr(0, pages.front().find("Due date"));
    ASSERT_NE(top.find("Balance owed"), std::string::npos) << top;
    EXPECT_FALSE(std::regex_search(top, std::regex(R"(\d\.00\b)"))) << top;
    // The axes are labelled all the same: a round mark in the thousands.
    EXPECT_TRUE(std::regex_search(top, std::regex(R"(\b\d{1,3}(,000)+\b)"))) << top;
}

}  // namespace
}  // namespace quillet::testing
