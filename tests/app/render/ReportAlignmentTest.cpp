// Amounts set from the glyph table and headings, labels and totals left to ordinary text
// drawing meet at the same right edge of their column, and every text reads back from the PDF
// as it was written, in order, whatever its alphabet.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "render/ReportExport.h"
#include "report/ReportNumbers.h"
#include "runtime/Numbers.h"
#include "support/ReportFixture.h"

namespace quillet::testing {
namespace {

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

class ReportAlignment : public ReportTest {
protected:
    void SetUp() override {
        if (!havePdfToText()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed: cannot read the PDF back";
        }
    }
};

TEST_F(ReportAlignment, AmountsHeadingsAndTotalsShareTheirColumnsRightEdge) {
    // Greek headings and a Greek totals label: characters the glyph table does not hold.
    writeText(file("greek.rpt"),
              "quillet-report 1\n[report]\ntitle = Πρόγραμμα\nchart = no\nfont-size = 9\n"
              "[columns]\n"
              "SN | Α/Α | right | general | 10%\n"
              "EMIDate | Λήξη | center | date | 20%\n"
              "ClosingBalance | Υπόλοιπο € | right | grouped | 35%\n"
              "Interest | Τόκος | right | grouped | 35%\n"
              "[totals]\nlabel = Σύνολο ({rows})\ncolumns = Interest\n");
    ScheduleInputs inputs;
    inputs.amount = "1000000";
    inputs.months = "24";
    inputs.decimals = "2";
    const auto stored = storeSchedule(inputs);
    std::string error;
    ASSERT_TRUE(writeScheduleReport(file("greek.rpt"), inputs, file("g.pdf"), {}, error)) << error;
    const auto lines = firstPageLines(file("g.pdf"));

    std::vector<std::string> sn;
    std::vector<std::string> closing;
    std::vector<double> closingRight;
    std::vector<double> interestRight;
    double headingClosingRight = -1;
    double headingInterestRight = -1;
    double totalRight = -1;
    std::string totalsLabel;
    for (const auto& words : lines) {
        if (words.size() == 4 && std::regex_match(words[0].text, std::regex(R"(\d+)"))) {
            sn.push_back(words[0].text);
            closing.push_back(words[2].text);
            closingRight.push_back(words[2].right);
            interestRight.push_back(words[3].right);
        } else if (!words.empty() && words.front().text == "Α/Α") {
            ASSERT_EQ(words.size(), 5U);
            EXPECT_EQ(words[1].text, "Λήξη");
            EXPECT_EQ(words[2].text + " " + words[3].text, "Υπόλοιπο €");
            headingClosingRight = words[3].right;
            headingInterestRight = words[4].right;
        } else if (!words.empty() && words.front().text == "Σύνολο") {
            ASSERT_EQ(words.size(), 3U);
            totalsLabel = words[0].text + " " + words[1].text;
            totalRight = words[2].right;
        }
    }
    // Every row in order, each amount as written.
    ASSERT_EQ(sn.size(), stored.size());
    for (std::size_t r = 0; r < stored.size(); ++r) {
        EXPECT_EQ(sn[r], stored[r][0]);
        EXPECT_EQ(closing[r], formatFixed(parseNumber(stored[r][5]).value(), 2, true));
    }
    EXPECT_EQ(totalsLabel, "Σύνολο (24)");
    // "1,000,000.00" down to "0.00": whatever their widths, one right edge per column, which the
    // headings and the total (measured by shaping, in bold) share.
    for (std::size_t r = 0; r < closingRight.size(); ++r) {
        EXPECT_NEAR(closingRight[r], headingClosingRight, 0.01) << closing[r];
        EXPECT_NEAR(interestRight[r], headingInterestRight, 0.01) << "row " << r + 1;
    }
    EXPECT_NEAR(totalRight, headingInterestRight, 0.01);
}

}  // namespace
}  // namespace quillet::testing
