#include <gtest/gtest.h>

#include <string>

#include "report/ReportCsv.h"
#include "report/ReportDefinition.h"
#include "report/ReportNumbers.h"
#include "report/ReportTable.h"
#include "runtime/ProgramFolder.h"

namespace quillet::testing {
namespace {

TEST(ReportNumberFormats, WriteExactlyTheDecimalsAndGroupThousands) {
    EXPECT_EQ(formatFixed(4803.4, 2, false), "4803.40");
    EXPECT_EQ(formatFixed(841534, 2, true), "841,534.00");
    EXPECT_EQ(formatFixed(-1234567.891, 2, true), "-1,234,567.89");
    EXPECT_EQ(formatFixed(999.5, 0, true), "1,000");  // rounding carries into a new group
    EXPECT_EQ(formatFixed(0.125, 2, false), "0.12");  // halves to even, as the schedule rounds
    EXPECT_EQ(formatFixed(-0.004, 2, false), "0.00");
    EXPECT_EQ(formatFixed(0.1, 3, false), "0.100");  // not the binary expansion 0.100000001...
}

TEST(ReportDefinitionFormats, TakeDecimalsAndSumsOfColumns) {
    const std::string head = "quillet-report 1\n[report]\ntitle = T\n[columns]\n";
    const auto definition = parseReportDefinition(
        head +
        "SN | No. | right | general\nInterest + Principal | Paid | right | grouped\n"
        "Interest | I | right | fixed 3\n[totals]\ncolumns = interest+principal, Interest\n");
    ASSERT_EQ(definition.columns.size(), 3U);
    ASSERT_EQ(definition.columns[1].addedSources.size(), 1U);
    EXPECT_EQ(definition.columns[1].addedSources[0].name, "Principal");
    EXPECT_EQ(definition.columns[2].decimals, 3);
    EXPECT_EQ(definition.totalledColumns, (std::vector<std::size_t>{1, 2}));

    const std::vector<std::pair<std::string, std::string>> faults{
        {"SN | No. | right | fixed two\n", "line 5: the decimals of a format must be"},
        {"SN | No. | right | date 2\n", "line 5: only the fixed and grouped formats take"},
        {"SN + EMIDate | X | right | date\n", "line 5: a sum of columns needs a number format"},
        {"SN + | X | right | general\n", "line 5: \"\" is not a column"}};
    for (const auto& [columns, problem] : faults) {
        try {
            parseReportDefinition(head + columns);
            ADD_FAILURE() << columns;
        } catch (const ReportDefinitionError& error) {
            EXPECT_NE(std::string(error.what()).find(problem), std::string::npos) << error.what();
        }
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

}  // namespace
}  // namespace quillet::testing
