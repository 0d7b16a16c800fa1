// The table writes fixed amounts from their exact count of units and makes its totals from the
// numbers; both must give exactly what writing each figure out and adding the texts gives.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "report/ReportDefinition.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"
#include "runtime/Numbers.h"

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
    // halves away from zero would give 0.13 and -3.
    const std::vector<std::pair<double, int>> cases{{0.125, 2},
                                                    {0.375, 2},
                                                    {-2.5, 0},
                                                    {2.5, 0},
                                                    {3.5, 0},
                                                    {-0.004, 2},
                                                    {4803.4, 2},
                                                    {999.995, 2},
                                                    {1e-7, 3},
                                                    {-1234567.891, 3},
                                                    {0.1, 15},
                                                    {999999999999.5, 2},
                                                    {123456789012.345, 3},
                                                    {1e17, 2},
                                                    {-7.5e13, 1}};
    for (const auto& [x, decimals] : cases) {
        SCOPED_TRACE(std::to_string(x) + " at " + std::to_string(decimals));
        EXPECT_EQ(formatFixed(x, decimals, false), printedRounded(x, decimals));
    }
    EXPECT_EQ(shownUnits(0.125, 2), 12);
    EXPECT_EQ(shownUnits(-2.5, 0), -2);
    EXPECT_EQ(shownUnits(1e17, 2), std::nullopt);  // beyond a count a double carries exactly

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

/// The texts the rules give, written out figure by figure and added up as texts.
std::vector<std::string> writtenRow(const ReportDefinition& definition,
                                    const StoredSchedule& schedule, const ReportTable& table,
                                    const std::vector<Variant>& stored) {
    std::vector<std::string> texts;
    for (std::size_t c = 0; c < definition.columns.size(); ++c) {
        const ReportColumn& column = definition.columns[c];
        std::vector<std::string> names{column.source};
        for (const ColumnSource& added : column.addedSources) {
            names.push_back(added.name);
        }
        std::vector<std::size_t> parts;
        for (const std::string& name : names) {
            for (std::size_t s = 0; s < schedule.columns.size(); ++s) {
                if (schedule.columns[s] == name) {
                    parts.push_back(s);
                }
            }
        }
        const int decimals = table.decimals[c];
        if (parts.size() == 1) {
            texts.push_back(cellText(stored[parts[0]], column.format, decimals));
            continue;
        }
        ShownSum sum;
        bool numbers = true;
        for (const std::size_t part : parts) {
            numbers = sum.add(cellText(stored[part], column.format, decimals));
        }
        texts.push_back(numbers ? sum.text(decimals, column.format == ValueFormat::Grouped) : "");
    }
    return texts;
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
    const Variant null = Variant::null();
    const std::vector<std::pair<std::string, StoredSchedule>> schedules{
        // Halves at the last unit, negatives, a blank cell (empty in its column, 0 in a sum).
        {"ordinary",
         scheduleOf({{Variant(std::int32_t{1}), Variant(0.125), Variant(1000.375), Variant("x")},
                     {Variant(std::int32_t{2}), Variant(-2.005), null, Variant(1.5)},
                     {Variant(std::int32_t{3}), Variant(std::string("12.5")), Variant(2.25),
                      Variant(std::string())}})},
        // Figures beyond a count of units: written and added from their texts.
        {"huge",
         scheduleOf({{Variant(std::int32_t{1}), Variant(9.5e18), Variant(1.0), Variant(2.0)},
                     {Variant(std::int32_t{2}), Variant(1.25e13), Variant(-3e16), Variant(0.0)}})},
        // A date where a figure belongs: no total can be made of it.
        {"date", scheduleOf({{Variant(std::int32_t{1}), Variant(Date{2024, 1, 31}), Variant(1.0),
                              Variant(0.5)}})}};
    for (const auto& [name, schedule] : schedules) {
        SCOPED_TRACE(name);
        const ReportTable table = buildReportTable(definition, schedule, 2);
        ASSERT_EQ(table.rows.size(), schedule.rows.size());
        std::vector<std::vector<std::string>> written;
        for (std::size_t r = 0; r < schedule.rows.size(); ++r) {
            written.push_back(writtenRow(definition, schedule, table, schedule.rows[r]));
            EXPECT_EQ(table.rows[r], written.back()) << "row " << r;
        }
        for (const std::size_t c : definition.totalledColumns) {
            const auto& column = definition.columns[c];
            EXPECT_EQ(table.totals[c], columnTotal(written, c, column.format, table.decimals[c]))
                << "column " << c;
        }
    }
    // What the ordinary schedule shows, to the digit.
    const ReportTable table = buildReportTable(definition, schedules[0].second, 2);
    EXPECT_EQ(table.rows[0], (std::vector<std::string>{"1", "1,000.50", "0.12", "1000.4", "x"}));
    EXPECT_EQ(table.rows[1][1], "-2.00");  // a blank part of a sum counts 0 ...
    EXPECT_EQ(table.rows[1][3], "");       // ... and stays blank in its own column
    EXPECT_EQ(table.totals[1], "1,013.25");
    EXPECT_EQ(table.totals[4], "");  // "x" is not a figure: no total
}

}  // namespace
}  // namespace quillet::testing
