// The report's table: it writes fixed amounts from their exact count of units and makes its
// totals from the figures shown, exactly as writing each figure out and adding the texts gives;
// its definition's columns, its CSV and how its rows are spread over pages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "report/ReportCsv.h"
#include "report/ReportDefinition.h"
#include "report/ReportNumbers.h"
#include "report/ReportPagination.h"
#include "report/ReportTable.h"
#include "runtime/Numbers.h"
#include "runtime/ProgramFolder.h"

namespace quillet::testing {
namespace {

/// An independent reading of the rule: the rounded double printed with exactly decimals.
std::string printedRounded(double x, int decimals) {
    char buffer[128];
    std::snprintf(buffer, sizeof buffer, "%.*f", decimals, roundHalfEven(x, decimals));
    std::string text = buffer;
    if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
        text.erase(0, 1);  // never "-0.00"
    }
    return text;
}

TEST(ReportFigureCounts, WriteTheDigitsOfTheRoundedFigureAndCountItsUnits) {
    // Halves go to the even neighbour (0.125 -> 0.12, 0.375 -> 0.38), as the schedule rounds;
    // halves away from zero would give 0.13 and -3. 0.1 at 15 is not its binary expansion.
    for (const double x : {0.125, 0.375, -2.5, 2.5, 3.5, -0.004, 4803.4, 999.995, 1e-7, 1e17,
                           -1234567.891, 999999999999.5, 123456789012.345, -7.5e13}) {
        for (const int decimals : {0, 1, 2, 3}) {
            EXPECT_EQ(formatFixed(x, decimals, false), printedRounded(x, decimals))
                << x << " at " << decimals;
        }
    }
    EXPECT_EQ(formatFixed(0.1, 15, false), printedRounded(0.1, 15));
    EXPECT_EQ(formatFixed(841534, 2, true), "841,534.00");
    EXPECT_EQ(formatFixed(-1234567.891, 2, true), "-1,234,567.89");
    EXPECT_EQ(formatFixed(999.5, 0, true), "1,000");  // rounding carries into a new group
    EXPECT_EQ(shownUnits(1e17, 2), std::nullopt);     // beyond a count a double carries exactly

    std::mt19937_64 random(20);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> places(0, 6);
    for (int i = 0; i < 20000; ++i) {
        const int decimals = places(random);
        // Up to the 15 digits a double carries (beyond, the double's own shortest digits are
        // written, which no printf rounding reproduces).
        std::uniform_int_distribution<int> magnitude(0, 14 - decimals);
        double x = mantissa(random) * std::pow(10.0, magnitude(random));
        if (i % 4 == 0) {
            // Exact halves of the last unit, where the rounding rule decides.
            x = (std::round(x * std::pow(10.0, decimals)) + 0.5) / std::pow(10.0, decimals);
        }
        const std::string written = formatFixed(x, decimals, false);
        ASSERT_EQ(written, printedRounded(x, decimals)) << x << " at " << decimals;
        const auto units = shownUnits(x, decimals);
        if (units) {
            ASSERT_EQ(scaledUnits(written, decimals), *units) << x << " at " << decimals;
            std::string grouped;
            appendUnits(grouped, *units, decimals, true);
            ASSERT_EQ(grouped, formatFixed(x, decimals, true)) << x << " at " << decimals;
        }
    }
}

StoredSchedule scheduleOf(std::vector<std::vector<Variant>> rows) {
    StoredSchedule schedule;
    schedule.columns = {"SN", "Interest", "Principal", "Note"};
    schedule.rows = std::move(rows);
    return schedule;
}

TEST(ReportTableFromNumbers, GivesTheTextsAndTotalsOfTheFiguresWrittenOut) {
    const auto definition = parseReportDefinition(
        "quillet-report 1\n[report]\ntitle = T\n[columns]\n"
        "SN | No. | right | general\nInterest + Principal | Paid | right | grouped\n"
        "Interest | I | right | grouped\nPrincipal | P | right | fixed 1\n"
        "Note | N | left | fixed 2\n"
        "[totals]\ncolumns = interest+principal, Interest, Principal, Note\n");
    using Texts = std::vector<std::string>;
    struct Case {
        std::string name;
        StoredSchedule schedule;
        std::vector<Texts> rows;
        Texts totals;  // of Paid, I, P, N
    };
    const Variant null = Variant::null();
    const std::vector<Case> cases{
        // Halves at the last unit (2.25 -> 2.2 at one decimal), negatives, a blank cell (empty in
        // its column, 0 in a sum), a text that is no figure (no total).
        {"ordinary",
         scheduleOf({{Variant(std::int32_t{1}), Variant(0.125), Variant(1000.375), Variant("x")},
                     {Variant(std::int32_t{2}), Variant(-2.005), null, Variant(1.5)},
                     {Variant(std::int32_t{3}), Variant(std::string("12.5")), Variant(2.25),
                      Variant(std::string())}}),
         {{"1", "1,000.50", "0.12", "1000.4", "x"},
          {"2", "-2.00", "-2.00", "", "1.50"},
          {"3", "14.75", "12.50", "2.2", ""}},
         {"1,013.25", "10.62", "1002.6", ""}},
        // Figures beyond a count of units: written and added from their texts, so the last unit
        // past 2^53 is kept (-3e16 + 1 as doubles is -3e16).
        {"huge",
         scheduleOf({{Variant(std::int32_t{1}), Variant(9.5e18), Variant(1.0), Variant(2.0)},
                     {Variant(std::int32_t{2}), Variant(1.25e13), Variant(-3e16), Variant(0.0)}}),
         {{"1", "9,500,000,000,000,000,000.00", "9,500,000,000,000,000,000.00", "1.0", "2.00"},
          {"2", "-29,987,500,000,000,000.00", "12,500,000,000,000.00", "-30000000000000000.0",
           "0.00"}},
         {"9,470,012,500,000,000,000.00", "9,500,012,500,000,000,000.00", "-29999999999999999.0",
          "2.00"}},
        // A date where a figure belongs: its sum is an empty cell (0 in the total) and its
        // column has no total.
        {"date",
         scheduleOf(
             {{Variant(std::int32_t{1}), Variant(Date{2024, 1, 31}), Variant(1.0), Variant(0.5)}}),
         {{"1", "", "31/01/2024", "1.0", "0.50"}},
         {"0.00", "", "1.0", "0.50"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ReportTable table = buildReportTable(definition, c.schedule, 2);
        ASSERT_EQ(table.rows.size(), c.rows.size());
        for (std::size_t r = 0; r < c.rows.size(); ++r) {
            EXPECT_EQ(table.rows[r], c.rows[r]) << "row " << r;
        }
        EXPECT_FALSE(table.totals[0].has_value());
        for (std::size_t t = 0; t < c.totals.size(); ++t) {
            EXPECT_EQ(table.totals[t + 1], c.totals[t]) << "column " << t + 1;
        }
    }
}

// (What a definition's sums, decimals and totals do is checked through the table above.)
TEST(ReportDefinitionFormats, RefuseFaultyColumnsNamingTheirLine) {
    const std::vector<std::pair<std::string, std::string>> faults{
        {"SN | No. | right | fixed two\n", "line 5: the decimals of a format must be"},
        {"SN | No. | right | date 2\n", "line 5: only the fixed and grouped formats take"},
        {"SN + EMIDate | X | right | date\n", "line 5: a sum of columns needs a number format"},
        {"SN + | X | right | general\n", "line 5: \"\" is not a column"}};
    for (const auto& [columns, problem] : faults) {
        EXPECT_THAT(
            [&] {
                parseReportDefinition("quillet-report 1\n[report]\ntitle = T\n[columns]\n" +
                                      columns);
            },
            ::testing::ThrowsMessage<ReportDefinitionError>(::testing::HasSubstr(problem)))
            << columns;
    }
}

/// Stored figures with more decimals than the report shows: a total made from the stored values
/// (or a payment rounded from the unrounded sum) would differ from what a reader adds up.
StoredSchedule thirds() {
    StoredSchedule schedule;
    schedule.columns = {"SN",        "OpeningBalance", "Interest",
                        "Principal", "ClosingBalance", "EMIDate"};
    for (std::int32_t i = 1; i <= 3; ++i) {
        schedule.rows.push_back({Variant(i), Variant(1000.0), Variant(0.4449), Variant(1000.4449),
                                 Variant(0.0), Variant(Date{2024, i, 1})});
    }
    return schedule;
}

TEST(ReportTotals, EqualTheSumOfTheFiguresTheRowsShowAtZeroAndTwoDecimals) {
    const auto definition = loadReportDefinition(programFolder() / "EMI.rpt");  // as shipped
    // Columns: No., Due date, Opening, Payment, Interest, Principal, Closing.
    const ReportTable two = buildReportTable(definition, thirds(), 2);
    EXPECT_EQ(two.rows[0][3], "1,000.88");  // 0.44 + 1,000.44, not 1,000.89 from 1000.8898
    EXPECT_EQ(two.rows[0][4], "0.44");
    EXPECT_EQ(two.totals[3], "3,002.64");
    EXPECT_EQ(two.totals[4], "1.32");  // not 1.33, the stored sum 1.3347 rounded
    EXPECT_EQ(two.totals[5], "3,001.32");
    EXPECT_FALSE(two.totals[6].has_value());

    const ReportTable zero = buildReportTable(definition, thirds(), 0);
    EXPECT_EQ(zero.rows[0][3], "1,000");  // 0 + 1,000, not 1,001 from 1000.8898
    EXPECT_EQ(zero.totals[3], "3,000");
    EXPECT_EQ(zero.totals[4], "0");  // not 1, the stored sum rounded
    EXPECT_EQ(zero.totals[5], "3,000");

    // Without the run's decimals the columns show the decimals the stored figures have: four
    // here, which neither the default of two nor none would show.
    const ReportTable stored = buildReportTable(definition, thirds(), std::nullopt);
    EXPECT_EQ(stored.rows[0][4], "0.4449");
    EXPECT_EQ(stored.totals[4], "1.3347");

    // A general column adds its figures as written, rounded to the most decimals shown.
    EXPECT_EQ(columnTotal({{"0.1"}, {"0.2"}}, 0), "0.3");
    // Past 2^53 units a double would drop the last cent: the sum is kept exact.
    EXPECT_EQ(columnTotal({{"90071992547409.93"}, {"0.01"}}, 0), "90071992547409.94");
    EXPECT_EQ(columnTotal({{"90071992547409.93"}, {"0.01"}}, 0, ValueFormat::Grouped, 2),
              "90,071,992,547,409.94");
    EXPECT_EQ(columnTotal({{"12"}, {"01/Jan/2024"}}, 0), "");
}

TEST(ReportCsv, HasTheColumnsOrderAndTextsOfTheToolsCsv) {
    StoredSchedule schedule;
    // Columns in another order than the tool's, and named in another case.
    schedule.columns = {"emidate",       "SN", "Interest", "Principal", "OpeningBalance",
                        "ClosingBalance"};
    schedule.rows.push_back({Variant(Date{2024, 2, 29}), Variant(std::int32_t{2}), Variant(4.5),
                             Variant(1000.0), Variant(1004.5), Variant(4.5)});
    EXPECT_EQ(reportCsv(schedule),
              "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n"
              "2,1004.5,4.5,1000,4.5,29/Feb/2024\n");
}

// Pages of 100 points with rows of 5: a continued page holds 19 rows below its heading, the
// first page 9 below a top block of 50.
constexpr ReportHeights kHeights{100, 50, 5, 5, 5, 5};

std::string shape(const std::vector<ReportPage>& pages) {
    std::string text;
    for (const ReportPage& page : pages) {
        text +=
            (text.empty() ? "" : " ") + std::to_string(page.rowCount) + (page.totals ? "+T" : "");
    }
    return text;
}

TEST(ReportPagination, MovesRowsOnSoNoPageHasFewerThanThreeOrLoneTotals) {
    EXPECT_EQ(shape(paginate(kHeights, 8, true, false)), "8+T");
    // 9 rows fill the first page but leave no room for the totals: three go over with them.
    EXPECT_EQ(shape(paginate(kHeights, 9, true, false)), "6 3+T");
    // One row over the first page: not alone, and not with the totals alone either.
    EXPECT_EQ(shape(paginate(kHeights, 10, true, false)), "7 3+T");
    EXPECT_EQ(shape(paginate(kHeights, 10, false, false)), "7 3");
    EXPECT_EQ(shape(paginate(kHeights, 29, true, false)), "9 17 3+T");
    // Exactly three rows after a full page may stay: nothing is moved for them.
    EXPECT_EQ(shape(paginate(kHeights, 31, true, false)), "9 19 3+T");
    // A first page with room for two rows only shows its top block.
    EXPECT_EQ(shape(paginate({100, 85, 5, 5, 5, 5}, 4, true, false)), "0 4+T");
    EXPECT_EQ(shape(paginate(kHeights, 0, true, true)), "0+T");

    for (int rows = 1; rows <= 80; ++rows) {
        SCOPED_TRACE(rows);
        const auto pages = paginate(kHeights, rows, true, false);
        int next = 0;
        for (const ReportPage& page : pages) {
            EXPECT_EQ(page.firstRow, next);
            EXPECT_GE(page.rowCount, std::min(rows, kFewestRowsOnAPage));
            const double used = (page.firstRow == 0 ? kHeights.firstPageTop : 0) +
                                kHeights.headingRow + page.rowCount * kHeights.row +
                                (page.totals ? kHeights.totalsRow : 0);
            EXPECT_LE(used, kHeights.body);
            next += page.rowCount;
        }
        EXPECT_EQ(next, rows);
        EXPECT_TRUE(pages.back().totals);
    }
}

}  // namespace
}  // namespace quillet::testing
