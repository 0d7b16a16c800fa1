#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ReportFixture.h"
#include "report/ReportExport.h"
#include "runtime/Numbers.h"

namespace quillet::testing {
namespace {

using Row = std::vector<std::string>;

/// The schedule rows of a page: SN, date, opening, interest, principal, closing.
std::vector<Row> printedRows(const std::string& page) {
    static const std::regex rowLine(
        R"(^\s*(\d+)\s+(\d\d/[A-Z][a-z]{2}/\d{4})\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s*$)");
    std::vector<Row> rows;
    std::istringstream in(page);
    std::smatch m;
    for (std::string line; std::getline(in, line);) {
        if (std::regex_match(line, m, rowLine)) {
            rows.push_back({m[1], m[2], m[3], m[4], m[5], m[6]});
        }
    }
    return rows;
}

bool hasHeadings(const std::string& page) {
    return std::regex_search(
        page, std::regex(
                  R"(No\.\s+Due date\s+Opening balance\s+Interest\s+Principal\s+Closing balance)"));
}

std::string sumOf(const std::vector<Row>& rows, std::size_t column) {
    double sum = 0;
    for (const auto& row : rows) {
        sum += parseNumber(row[column]).value();
    }
    return formatGeneral(roundHalfEven(sum, 0));
}

class SchedulePdf : public ReportTest {
protected:
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
        }
    }
};

TEST_F(SchedulePdf, ShowsEveryStoredRowWithHeadingsTotalsAndPageNumbersOnEveryPage) {
    const ScheduleInputs inputs{};
    const auto expected = storeSchedule(inputs);
    ASSERT_EQ(expected.size(), 120U);
    std::string error;
    ASSERT_TRUE(
        writeScheduleReport(shippedDefinition(), calculationOf(inputs), file("s.pdf"), {}, error))
        << error;
    const auto pages = pdfPages(file("s.pdf"));
    ASSERT_GE(pages.size(), 3U) << "120 rows should need several pages";

    std::vector<Row> rows;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE("page " + std::to_string(p + 1));
        EXPECT_TRUE(hasHeadings(pages[p])) << pages[p];
        EXPECT_NE(
            pages[p].find("Page " + std::to_string(p + 1) + " of " + std::to_string(pages.size())),
            std::string::npos);
        const auto pageRows = printedRows(pages[p]);
        EXPECT_FALSE(pageRows.empty());
        rows.insert(rows.end(), pageRows.begin(), pageRows.end());
    }
    EXPECT_EQ(rows, expected);  // the stored texts, in month order

    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(Monthly instalment \(EMI\)\s+11102\s)")))
        << pages[0];
    std::smatch totals;
    ASSERT_TRUE(std::regex_search(pages.back(), totals,
                                  std::regex(R"(Total \((\d+) instalments\)\s+(\S+)\s+(\S+)\s)")))
        << pages.back();
    EXPECT_EQ(totals[1], "120");
    EXPECT_EQ(totals[2].str(), sumOf(rows, 3));
    EXPECT_EQ(totals[3].str(), sumOf(rows, 4));
    EXPECT_NEAR(parseNumber(totals[3].str()).value(), 1000000.0, 60.0);  // repays the loan
}

TEST_F(SchedulePdf, AnEmptyScheduleGivesHeadingsAndNoRows) {
    ScheduleInputs inputs;
    inputs.months = "0";
    ASSERT_TRUE(storeSchedule(inputs).empty());
    std::string error;
    ASSERT_TRUE(writeScheduleReport(shippedDefinition(), calculationOf(inputs), file("e.pdf"),
                                    file("e.csv"), error))
        << error;
    const auto pages = pdfPages(file("e.pdf"));
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(hasHeadings(pages[0])) << pages[0];
    EXPECT_TRUE(printedRows(pages[0]).empty());
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(Total \(0 instalments\)\s+0\s+0)")))
        << pages[0];
    EXPECT_EQ(readText(file("e.csv")), csvOf({}));
}

TEST_F(ReportTest, AnUnwritableTargetIsReportedNotPassedOver) {
    storeSchedule(ScheduleInputs{});
    for (const char* name : {"x.pdf", "x.csv"}) {
        const auto target = file("no-such-folder") / name;
        const bool pdf = target.extension() == ".pdf";
        std::string error;
        EXPECT_FALSE(writeScheduleReport(shippedDefinition(), calculationOf(ScheduleInputs{}),
                                         pdf ? target : "", pdf ? "" : target, error));
        EXPECT_NE(error.find("Cannot write \"" + target.string() + "\""), std::string::npos)
            << error;
    }
}

}  // namespace
}  // namespace quillet::testing
