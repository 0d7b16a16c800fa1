#include <gtest/gtest.h>

#include <string>

#include "report/ReportCsv.h"
#include "report/ReportDefinition.h"
#include "report/ReportTable.h"

namespace quillet {
namespace {

TEST(ReportCells, ShowValuesAsTheGridDoes) {
    EXPECT_EQ(cellText(Variant(993897.95), ValueFormat::General), "993897.95");
    EXPECT_EQ(cellText(Variant(1000000.0), ValueFormat::General), "1000000");
    EXPECT_EQ(cellText(Variant(std::int32_t{12}), ValueFormat::General), "12");
    EXPECT_EQ(cellText(Variant(Date{2024, 2, 29}), ValueFormat::Date), "29/Feb/2024");
    // A time of day is not part of the date column's text.
    EXPECT_EQ(cellText(Variant(Date{2024, 3, 1, 13, 5, 0}), ValueFormat::Date), "01/Mar/2024");
    EXPECT_EQ(cellText(Variant("2024-04-30"), ValueFormat::Date), "30/Apr/2024");
    EXPECT_EQ(cellText(Variant("not a date"), ValueFormat::Date), "not a date");
    EXPECT_EQ(cellText(Variant::null(), ValueFormat::General), "");
    EXPECT_EQ(cellText(Variant::null(), ValueFormat::Date), "");
}

TEST(ReportTotals, AreTheSumRoundedToTheDecimalsTheRowsShow) {
    // 0.1 + 0.2 is 0.30000000000000004 in binary; the page must say 0.3.
    EXPECT_EQ(columnTotal({{"0.1"}, {"0.2"}}, 0), "0.3");
    EXPECT_EQ(columnTotal({{"6102.05"}, {"6133"}, {""}}, 0), "12235.05");
    EXPECT_EQ(columnTotal({}, 0), "0");
    EXPECT_EQ(columnTotal({{"-5"}, {"2.5"}}, 0), "-2.5");
    EXPECT_EQ(columnTotal({{"12"}, {"01/Jan/2024"}}, 0), "");
}

ReportDefinition definitionWithColumns(const std::string& columns) {
    return parseReportDefinition("quillet-report 1\n[report]\ntitle = T\n[columns]\n" + columns +
                                 "[totals]\ncolumns = Interest\n");
}

StoredSchedule twoRows() {
    StoredSchedule s;
    s.columns = {"SN", "OpeningBalance", "Interest", "Principal", "ClosingBalance", "EMIDate"};
    s.rows.push_back({Variant(std::int32_t{1}), Variant(1000.0), Variant(5.0), Variant(83.5),
                      Variant(916.5), Variant(Date{2024, 1, 31})});
    s.rows.push_back({Variant(std::int32_t{2}), Variant(916.5), Variant(4.58), Variant(83.92),
                      Variant(832.58), Variant(Date{2024, 2, 29})});
    return s;
}

TEST(ReportTable, PicksColumnsByNameOrPositionInTheDefinitionsOrder) {
    const auto definition = definitionWithColumns(
        "emidate | Due | left | date\n@1 | No. | right | general\nInterest | Int | right | "
        "general\n");
    const ReportTable table = buildReportTable(definition, twoRows());
    EXPECT_EQ(table.headings, (std::vector<std::string>{"Due", "No.", "Int"}));
    EXPECT_EQ(table.names, (std::vector<std::string>{"EMIDate", "SN", "Interest"}));
    ASSERT_EQ(table.rows.size(), 2U);
    EXPECT_EQ(table.rows[1], (std::vector<std::string>{"29/Feb/2024", "2", "4.58"}));
    EXPECT_FALSE(table.totals[0].has_value());
    EXPECT_EQ(table.totals[2], "9.58");
}

TEST(ReportTable, AColumnTheTableLacksIsAFaultOfItsDefinitionLine) {
    const auto byName = definitionWithColumns(
        "SN | No. | right | general\nInterest | I | right | general\nFee | F | right | general\n");
    try {
        buildReportTable(byName, twoRows());
        FAIL() << "a missing column was accepted";
    } catch (const ReportDefinitionError& error) {
        EXPECT_EQ(error.line(), 7);
        EXPECT_NE(error.problem().find("no column \"Fee\""), std::string::npos) << error.what();
    }
    const auto byPosition =
        definitionWithColumns("Interest | I | right | general\n@7 | X | right | general\n");
    try {
        buildReportTable(byPosition, twoRows());
        FAIL() << "a column past the end was accepted";
    } catch (const ReportDefinitionError& error) {
        EXPECT_EQ(error.line(), 6);
        EXPECT_NE(error.problem().find("has 6 columns"), std::string::npos) << error.what();
    }
}

TEST(ReportCsv, CarriesTheReportsTextsAndQuotesWhereNeeded) {
    auto definition = definitionWithColumns(
        "SN | No. | right | general\nEMIDate | Due, date | left | date\nInterest | \"I\" | right "
        "| general\n");
    StoredSchedule schedule = twoRows();
    schedule.rows[0][2] = Variant("5,0");
    const ReportTable table = buildReportTable(definition, schedule);
    EXPECT_EQ(reportCsv(definition, table),
              "SN,EMIDate,Interest\n1,31/Jan/2024,\"5,0\"\n2,29/Feb/2024,4.58\n");
    definition.csvHeader = CsvHeader::Headings;
    const std::string csv = reportCsv(definition, table);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "No.,\"Due, date\",\"\"\"I\"\"\"");
}

}  // namespace
}  // namespace quillet
