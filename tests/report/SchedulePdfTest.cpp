#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ReportFixture.h"
#include "report/ReportExport.h"
#include "runtime/Numbers.h"

namespace quillet::testing {
namespace {

/// One schedule row as the PDF shows it, in the shipped definition's column order.
struct PrintedRow {
    std::string sn, date, opening, interest, principal, closing;
};

const std::regex kRowLine(
    R"(^\s*(\d+)\s+(\d\d/[A-Z][a-z]{2}/\d{4})\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s+(-?[\d.]+)\s*$)");
const std::regex kTotalsLine(R"(Total \((\d+) instalments\)\s+(-?[\d.]+)\s+(-?[\d.]+)\s)");

std::vector<std::string> linesOf(const std::string& page) {
    std::vector<std::string> lines;
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<PrintedRow> printedRows(const std::string& page) {
    std::vector<PrintedRow> rows;
    for (const auto& line : linesOf(page)) {
        std::smatch m;
        if (std::regex_match(line, m, kRowLine)) {
            rows.push_back({m[1], m[2], m[3], m[4], m[5], m[6]});
        }
    }
    return rows;
}

bool hasHeadings(const std::string& page) {
    for (const auto& line : linesOf(page)) {
        if (std::regex_search(line, std::regex(R"(No\.\s+Due date\s+Opening balance\s+Interest\s+)"
                                               R"(Principal\s+Closing balance)"))) {
            return true;
        }
    }
    return false;
}

double sumOf(const std::vector<PrintedRow>& rows, std::string PrintedRow::*column) {
    double sum = 0;
    for (const auto& row : rows) {
        sum += parseNumber(row.*column).value();
    }
    return sum;
}

class SchedulePdf : public ReportTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(SchedulePdf, ShowsEveryStoredRowWithHeadingsTotalsAndPageNumbersOnEveryPage) {
    if (!havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
    }
    ScheduleInputs inputs;
    inputs.decimals = GetParam();
    const auto expected = storeSchedule(inputs);
    ASSERT_EQ(expected.size(), 120U);

    const auto pdf = file("schedule.pdf");
    std::string error;
    ASSERT_TRUE(writeScheduleReport(shippedDefinition(), calculationOf(inputs), pdf, {}, error))
        << error;
    const auto pages = pdfPages(pdf);
    ASSERT_GE(pages.size(), 3U) << "120 rows should need several pages";

    std::vector<PrintedRow> rows;
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

    // The same rows and texts as stored, in month order.
    ASSERT_EQ(rows.size(), expected.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& want = expected[i].texts;
        const auto& got = rows[i];
        EXPECT_EQ((std::vector<std::string>{got.sn, got.opening, got.interest, got.principal,
                                            got.closing, got.date}),
                  want)
            << "row " << i + 1;
    }

    const std::string instalment = std::string(GetParam()) == "2" ? "11102.05" : "11102";
    EXPECT_TRUE(std::regex_search(
        pages[0], std::regex(R"(Monthly instalment \(EMI\)\s+)" + instalment + R"((\s|$))")))
        << pages[0];
    EXPECT_NE(pages[0].find("Loan amount"), std::string::npos);
    EXPECT_NE(pages[0].find("1000000"), std::string::npos);

    std::smatch totals;
    const std::string& last = pages.back();
    ASSERT_TRUE(std::regex_search(last, totals, kTotalsLine)) << last;
    EXPECT_EQ(totals[1], "120");
    const int decimals = std::stoi(GetParam());
    EXPECT_EQ(totals[2].str(),
              formatGeneral(roundHalfEven(sumOf(rows, &PrintedRow::interest), decimals)));
    EXPECT_EQ(totals[3].str(),
              formatGeneral(roundHalfEven(sumOf(rows, &PrintedRow::principal), decimals)));
    // The principal parts repay the loan, within the rounding of 120 rows.
    EXPECT_NEAR(parseNumber(totals[3].str()).value(), 1000000.0, 60.0);
}

INSTANTIATE_TEST_SUITE_P(WholeAndTwoDecimals, SchedulePdf, ::testing::Values("0", "2"));

TEST_F(ReportTest, AnEmptyScheduleGivesHeadingsAndNoRows) {
    if (!havePdfToText()) {
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
    }
    ScheduleInputs inputs;
    inputs.months = "0";
    ASSERT_TRUE(storeSchedule(inputs).empty());
    const auto pdf = file("empty.pdf");
    std::string error;
    ASSERT_TRUE(writeScheduleReport(shippedDefinition(), calculationOf(inputs), pdf, {}, error))
        << error;
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(hasHeadings(pages[0])) << pages[0];
    EXPECT_TRUE(printedRows(pages[0]).empty());
    EXPECT_NE(pages[0].find("No instalments are stored"), std::string::npos) << pages[0];
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(Total \(0 instalments\)\s+0\s+0)")))
        << pages[0];
    EXPECT_NE(pages[0].find("Page 1 of 1"), std::string::npos);
}

TEST_F(ReportTest, PdfAndCsvOfOneRunCarryTheSameRows) {
    ScheduleInputs inputs;
    inputs.months = "3";
    inputs.decimals = "2";
    inputs.start = Date{2024, 1, 31};
    const auto expected = storeSchedule(inputs);
    std::string error;
    ASSERT_TRUE(writeScheduleReport(shippedDefinition(), calculationOf(inputs), file("s.pdf"),
                                    file("s.csv"), error))
        << error;
    std::string want = "SN,EMIDate,OpeningBalance,Interest,Principal,ClosingBalance\n";
    for (const auto& row : expected) {
        const auto& t = row.texts;
        want += t[0] + "," + t[5] + "," + t[1] + "," + t[2] + "," + t[3] + "," + t[4] + "\n";
    }
    const std::string csv = readText(file("s.csv"));
    EXPECT_EQ(csv, want);
    const auto lines = linesOf(csv);
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[2].substr(0, 14), "2,29/Feb/2024,");
    if (havePdfToText()) {
        const auto rows = printedRows(pdfPages(file("s.pdf")).at(0));
        ASSERT_EQ(rows.size(), 3U);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& r = rows[i];
            EXPECT_EQ(lines[i + 1], r.sn + "," + r.date + "," + r.opening + "," + r.interest + "," +
                                        r.principal + "," + r.closing);
        }
    }
}

TEST_F(ReportTest, AMissingDefinitionIsAClearFailureAndWritesNothing) {
    storeSchedule(ScheduleInputs{});
    const auto missing = file("nowhere") / "EMI.rpt";
    std::string error;
    EXPECT_FALSE(writeScheduleReport(missing, calculationOf(ScheduleInputs{}), file("a.pdf"),
                                     file("a.csv"), error));
    EXPECT_EQ(error, "Report definition \"" + missing.string() + "\": the file does not exist");
    EXPECT_FALSE(std::filesystem::exists(file("a.pdf")));
    EXPECT_FALSE(std::filesystem::exists(file("a.csv")));
}

TEST_F(ReportTest, AMalformedDefinitionNamesItsLine) {
    storeSchedule(ScheduleInputs{});
    std::string text = readText(shippedDefinition());
    const auto at = text.find("| right     | general | 19%");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 9, "| rihgt  ");
    const auto broken = file("EMI.rpt");
    writeText(broken, text);
    const int line =
        1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));

    std::string error;
    EXPECT_FALSE(
        writeScheduleReport(broken, calculationOf(ScheduleInputs{}), file("b.pdf"), {}, error));
    EXPECT_NE(error.find("line " + std::to_string(line) + ":"), std::string::npos) << error;
    EXPECT_NE(error.find("\"rihgt\""), std::string::npos) << error;
    EXPECT_FALSE(std::filesystem::exists(file("b.pdf")));
}

TEST_F(ReportTest, ADefinitionColumnTheTableLacksNamesItsLine) {
    storeSchedule(ScheduleInputs{});
    const auto definition = file("EMI.rpt");
    writeText(definition,
              "quillet-report 1\n[report]\ntitle = T\n[columns]\nSN | No. | right | general\n"
              "Fee | Fee | right | general\n");
    std::string error;
    EXPECT_FALSE(
        writeScheduleReport(definition, calculationOf(ScheduleInputs{}), {}, file("c.csv"), error));
    EXPECT_NE(error.find("line 6: the EMI table has no column \"Fee\""), std::string::npos)
        << error;
}

TEST_F(ReportTest, AnUnwritableTargetIsReportedAndLeavesNoFile) {
    storeSchedule(ScheduleInputs{});
    const auto target = file("no-such-folder") / "x.pdf";
    std::string error;
    EXPECT_FALSE(writeScheduleReport(shippedDefinition(), calculationOf(ScheduleInputs{}), target,
                                     {}, error));
    EXPECT_NE(error.find("Cannot write \"" + target.string() + "\""), std::string::npos) << error;
    const auto csvTarget = file("no-such-folder") / "x.csv";
    EXPECT_FALSE(writeScheduleReport(shippedDefinition(), calculationOf(ScheduleInputs{}), {},
                                     csvTarget, error));
    EXPECT_NE(error.find("Cannot write \"" + csvTarget.string() + "\""), std::string::npos)
        << error;
}

}  // namespace
}  // namespace quillet::testing
