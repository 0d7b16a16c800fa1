#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "render/ReportExport.h"
#include "report/ReportNumbers.h"
#include "runtime/Numbers.h"
#include "support/ReportFixture.h"

namespace quillet::testing {
namespace {

using Row = std::vector<std::string>;

/// The schedule rows of a page: No., date, opening, payment, interest, principal, closing.
std::vector<Row> printedRows(const std::string& page) {
    static const std::regex rowLine(
        R"(^\s*(\d+)\s+(\d\d/[A-Z][a-z]{2}/\d{4})\s+([-\d,.]+)\s+([-\d,.]+)\s+([-\d,.]+)\s+([-\d,.]+)\s+([-\d,.]+)\s*$)");
    std::vector<Row> rows;
    std::istringstream in(page);
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, m, rowLine)) {
            rows.push_back({m[1], m[2], m[3], m[4], m[5], m[6], m[7]});
        }
    }
    return rows;
}

bool hasHeadings(const std::string& page) {
    return std::regex_search(
        page, std::regex(R"(No\.\s+Due date\s+Opening balance\s+Payment\s+Interest\s+Principal)"
                         R"(\s+Closing balance)"));
}

/// A shown figure in units of its last decimal: "1,234.50" with 2 decimals is 123450.
long long units(const std::string& text, int decimals) {
    const auto value = scaledUnits(text, decimals);
    EXPECT_TRUE(value.has_value()) << text;
    return value.value_or(0);
}

/// The rows the shipped definition prints for stored rows (SN, date, opening, interest,
/// principal, closing texts), at decimals, with the payment each month.
std::vector<Row> shown(const std::vector<Row>& stored, int decimals) {
    std::vector<Row> rows;
    const auto money = [&](const std::string& text) {
        return formatFixed(parseNumber(text).value(), decimals, true);
    };
    for (const Row& s : stored) {
        const double payment = roundHalfEven(parseNumber(s[3]).value(), decimals) +
                               roundHalfEven(parseNumber(s[4]).value(), decimals);
        rows.push_back({s[0], s[1], money(s[2]), formatFixed(payment, decimals, true), money(s[3]),
                        money(s[4]), money(s[5])});
    }
    return rows;
}

class SchedulePdf : public ReportTest {
protected:
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
        }
    }
};

// 36 months fill the first page (below the chart) and a few rows more: those go over with at
// least two others, and the totals never stand alone.
TEST_F(SchedulePdf, EveryPageHasHeadingsRowsInFullAndTotalsThatAddUp) {
    for (const auto& [months, decimals] : {std::pair{"36", 2}, std::pair{"120", 0}}) {
        SCOPED_TRACE(std::string(months) + " months, " + std::to_string(decimals) + " decimals");
        ScheduleInputs inputs;
        inputs.amount = "250000";
        inputs.rate = "7.5";
        inputs.months = months;
        inputs.decimals = std::to_string(decimals);
        const auto expected = shown(storeSchedule(inputs), decimals);
        std::string error;
        ASSERT_TRUE(writeScheduleReport(shippedDefinition(), inputs, file("s.pdf"), {}, error))
            << error;
        const auto pages = pdfPages(file("s.pdf"));
        ASSERT_GE(pages.size(), 2U);
        EXPECT_NE(pages[0].find("Balance owed"), std::string::npos);  // the chart
        const std::size_t amount = pages[0].find("Loan amount");
        ASSERT_NE(amount, std::string::npos);
        const std::string amountLine =
            pages[0].substr(amount, pages[0].find('\n', amount) - amount) + " ";
        EXPECT_NE(amountLine.find(" " + formatFixed(250000, decimals, true) + " "),
                  std::string::npos)
            << amountLine;
        std::vector<Row> rows;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            SCOPED_TRACE("page " + std::to_string(p + 1));
            EXPECT_TRUE(hasHeadings(pages[p])) << pages[p];
            EXPECT_NE(pages[p].find("Page " + std::to_string(p + 1) + " of " +
                                    std::to_string(pages.size())),
                      std::string::npos);
            const auto pageRows = printedRows(pages[p]);
            EXPECT_GE(pageRows.size(), 3U);
            rows.insert(rows.end(), pageRows.begin(), pageRows.end());
        }
        EXPECT_EQ(rows, expected);

        std::smatch totals;
        ASSERT_TRUE(std::regex_search(
            pages.back(), totals,
            std::regex(R"(Total \((\d+) instalments\)\s+([\d,.]+)\s+([\d,.]+)\s+([\d,.]+)\s)")))
            << pages.back();
        EXPECT_EQ(totals[1].str(), months);
        for (std::size_t c = 0; c < 3; ++c) {
            long long sum = 0;
            for (const Row& row : rows) {
                sum += units(row[3 + c], decimals);
            }
            EXPECT_EQ(units(totals[2 + c].str(), decimals), sum) << "total " << c;
        }
    }
}

TEST_F(SchedulePdf, AnEmptyScheduleGivesHeadingsAndNoRows) {
    ScheduleInputs inputs;
    inputs.months = "0";
    std::string error;
    ASSERT_TRUE(
        writeScheduleReport(shippedDefinition(), inputs, file("e.pdf"), file("e.csv"), error))
        << error;
    const auto pages = pdfPages(file("e.pdf"));
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(hasHeadings(pages[0])) << pages[0];
    EXPECT_TRUE(printedRows(pages[0]).empty());
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(Total \(0 instalments\)\s+0\s+0\s+0)")))
        << pages[0];
    EXPECT_EQ(readText(file("e.csv")),
              "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n");
}

TEST_F(ReportTest, AnUnwritableTargetIsReportedNotPassedOver) {
    for (const char* name : {"x.pdf", "x.csv"}) {
        const auto target = file("no-such-folder") / name;
        const bool pdf = target.extension() == ".pdf";
        std::string error;
        EXPECT_FALSE(writeScheduleReport(shippedDefinition(), ScheduleInputs{}, pdf ? target : "",
                                         pdf ? "" : target, error));
        EXPECT_NE(error.find("Cannot write \"" + target.string() + "\""), std::string::npos)
            << error;
    }
}

}  // namespace
}  // namespace quillet::testing
