// The schedule's PDF read back with pdftotext: every row in full and in order, totals that add
// up, the summary of the first page; amounts set from the glyph table and headings, labels and
// totals left to ordinary text drawing meet at the same right edge of their column, and every
// text reads back as it was written, whatever its alphabet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
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

/// A word as pdftotext -bbox places it, in points.
struct Word {
    double left = 0;
    double top = 0;
    double right = 0;
    std::string text;
};

/// The words of each line of the first page, top to bottom, each line left to right.
std::vector<std::vector<Word>> firstPageLines(const std::filesystem::path& pdf) {
    const std::string html = pdf.string() + ".html";
    EXPECT_EQ(
        std::system(("pdftotext -bbox -f 1 -l 1 '" + pdf.string() + "' '" + html + "'").c_str()),
        0);
    static const std::regex word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)</word>)re");
    std::map<long, std::vector<Word>> lines;
    const std::string text = readText(html);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word);
         it != std::sregex_iterator(); ++it) {
        const Word w{std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), (*it)[4]};
        lines[std::lround(w.top * 10)].push_back(w);
    }
    std::vector<std::vector<Word>> ordered;
    for (auto& [top, words] : lines) {
        std::sort(words.begin(), words.end(),
                  [](const Word& a, const Word& b) { return a.left < b.left; });
        ordered.push_back(words);
    }
    return ordered;
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
// least two others, and the totals never stand alone. The first page sums the loan up beside its
// terms as the totals row does; a note under the totals, on the last page only, says each amount
// is rounded on its own.
TEST_F(SchedulePdf, EveryPageHasHeadingsRowsInFullAndTotalsThatAddUp) {
    for (const auto& [months, decimals] : {std::pair{"36", 2}, std::pair{"120", 0}}) {
        SCOPED_TRACE(std::string(months) + " months, " + std::to_string(decimals) + " decimals");
        ScheduleInputs inputs;
        inputs.amount = "1234567.89";
        inputs.rate = "7.5";
        inputs.months = months;
        inputs.decimals = std::to_string(decimals);
        const auto expected = shown(storeSchedule(inputs), decimals);
        std::string error;
        ASSERT_TRUE(writeScheduleReport(shippedDefinition(), inputs, file("s.pdf"), {}, error))
            << error;
        const auto pages = pdfPages(file("s.pdf"));
        ASSERT_GE(pages.size(), 2U);
        std::vector<Row> rows;
        for (std::size_t p = 0; p < pages.size(); ++p) {
            SCOPED_TRACE("page " + std::to_string(p + 1));
            EXPECT_TRUE(hasHeadings(pages[p])) << pages[p];
            EXPECT_NE(pages[p].find("Page " + std::to_string(p + 1) + " of " +
                                    std::to_string(pages.size())),
                      std::string::npos);
            EXPECT_EQ(pages[p].find("rounded on its own") != std::string::npos,
                      p + 1 == pages.size());
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
                sum += scaledUnits(row[3 + c], decimals).value();
            }
            EXPECT_EQ(scaledUnits(totals[2 + c].str(), decimals).value(), sum) << "total " << c;
        }
        EXPECT_GT(pages.back().find("Each amount is rounded on its own from the exact schedule"),
                  static_cast<std::size_t>(totals.position(0)));

        // The first page's summary, beside the terms, as the totals row has it.
        const std::string& first = pages.front();
        const auto shows = [&](const std::string& label, const std::string& figure) {
            return std::regex_search(first, std::regex(label + "\\s+" + figure + "\\s"));
        };
        EXPECT_TRUE(shows("Total payable", totals[2].str())) << first;
        EXPECT_TRUE(shows("Total interest", totals[3].str()));
        EXPECT_TRUE(shows("Last instalment due", rows.back()[1]));
        EXPECT_TRUE(
            shows("Loan amount", formatFixed(1234567.89, decimals, true) + "\\s+Total interest"));
        // Above the table's headings: terms, summary and the chart, whose axes count in whole
        // units, a round mark in the thousands, even at two decimals.
        const std::string top = first.substr(0, first.find("Due date"));
        ASSERT_NE(top.find("Balance owed"), std::string::npos) << top;
        EXPECT_FALSE(std::regex_search(top, std::regex(R"(\d\.00\b)"))) << top;
        EXPECT_TRUE(std::regex_search(top, std::regex(R"(\b\d{1,3}(,000)+\b)"))) << top;
    }
}

TEST_F(SchedulePdf, AnEmptyScheduleGivesHeadingsAndNoRows) {
    ScheduleInputs inputs;
    inputs.months = "0";
    std::string error;
    ASSERT_TRUE(writeScheduleReport(shippedDefinition(), inputs, file("e.pdf"), {}, error))
        << error;
    const auto pages = pdfPages(file("e.pdf"));
    ASSERT_EQ(pages.size(), 1U);
    EXPECT_TRUE(hasHeadings(pages[0])) << pages[0];
    EXPECT_TRUE(printedRows(pages[0]).empty());
    EXPECT_TRUE(std::regex_search(pages[0], std::regex(R"(Total \(0 instalments\)\s+0\s+0\s+0)")))
        << pages[0];
}

TEST_F(SchedulePdf, AmountsHeadingsAndTotalsShareTheirColumnsRightEdge) {
    // Greek headings and a Greek totals label: characters the glyph table does not hold.
    writeText(file("greek.rpt"),
              "quillet-report 1\n[report]\ntitle = Πρόγραμμα\nchart = no\nfont-size = 9\n"
              "[columns]\nSN | Α/Α | right | general | 10%\nEMIDate | Λήξη | center | date | 20%\n"
              "ClosingBalance | Υπόλοιπο € | right | grouped | 35%\n"
              "Interest | Τόκος | right | grouped | 35%\n[totals]\nlabel = Σύνολο ({rows})\n"
              "columns = Interest\n");
    ScheduleInputs inputs;
    inputs.months = "24";
    inputs.decimals = "2";
    const auto stored = storeSchedule(inputs);
    std::string error;
    ASSERT_TRUE(writeScheduleReport(file("greek.rpt"), inputs, file("g.pdf"), {}, error)) << error;

    std::vector<std::vector<Word>> rows;
    double headingClosingRight = -1;
    double headingInterestRight = -1;
    double totalRight = -1;
    for (const auto& words : firstPageLines(file("g.pdf"))) {
        if (words.size() == 4 && words[0].text == std::to_string(rows.size() + 1)) {
            rows.push_back(words);
        } else if (!words.empty() && words.front().text == "Α/Α") {
            ASSERT_EQ(words.size(), 5U);
            EXPECT_EQ(words[1].text, "Λήξη");
            EXPECT_EQ(words[2].text + " " + words[3].text, "Υπόλοιπο €");
            headingClosingRight = words[3].right;
            headingInterestRight = words[4].right;
        } else if (!words.empty() && words.front().text == "Σύνολο") {
            ASSERT_EQ(words.size(), 3U);
            EXPECT_EQ(words[0].text + " " + words[1].text, "Σύνολο (24)");
            totalRight = words[2].right;
        }
    }
    // Every row in order; "1,000,000.00" down to "0.00": whatever their widths, one right edge
    // per column, which the headings and the total (measured by shaping, in bold) share.
    ASSERT_EQ(rows.size(), stored.size());
    for (std::size_t r = 0; r < stored.size(); ++r) {
        EXPECT_EQ(rows[r][2].text, formatFixed(parseNumber(stored[r][5]).value(), 2, true));
        EXPECT_NEAR(rows[r][2].right, headingClosingRight, 0.01) << rows[r][2].text;
        EXPECT_NEAR(rows[r][3].right, headingInterestRight, 0.01) << "row " << r + 1;
    }
    EXPECT_NEAR(totalRight, headingInterestRight, 0.01);
}

}  // namespace
}  // namespace quillet::testing
