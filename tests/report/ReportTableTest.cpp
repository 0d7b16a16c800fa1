#include <gtest/gtest.h>

#include <string>

#include "report/ReportCsv.h"
#include "report/ReportDefinition.h"
#include "report/ReportTable.h"

namespace quillet {
namespace {

TEST(ReportTotals, AreTheSumRoundedToTheDecimalsTheRowsShow) {
    // 0.1 + 0.2 is 0.30000000000000004 in binary; the page must say 0.3.
    EXPECT_EQ(columnTotal({{"0.1"}, {"0.2"}}, 0), "0.3");
    EXPECT_EQ(columnTotal({{"6102.05"}, {"6133"}, {""}}, 0), "12235.05");
    EXPECT_EQ(columnTotal({{"12"}, {"01/Jan/2024"}}, 0), "");
}

// The definition is saved the Windows way, with a byte order mark and CR LF line ends.
TEST(ReportTable, PicksColumnsByNameOrPositionAndQuotesCsvFieldsWhereNeeded) {
    auto definition = parseReportDefinition(
        "\xEF\xBB\xBFquillet-report 1\r\n[report]\r\ntitle = T\r\n[columns]\r\n"
        "emidate | Due, date | left | date\r\n@1 | No. | right | general\r\n"
        "Interest | \"I\" | right | general\r\n");
    StoredSchedule schedule;
    schedule.columns = {"SN",        "OpeningBalance", "Interest",
                        "Principal", "ClosingBalance", "EMIDate"};
    schedule.rows.push_back({Variant(std::int32_t{1}), Variant(1000.0), Variant("5,0"),
                             Variant(83.5), Variant(916.5), Variant(Date{2024, 1, 31})});
    schedule.rows.push_back({Variant(std::int32_t{2}), Variant(916.5), Variant(4.58),
                             Variant(83.92), Variant(832.58), Variant(Date{2024, 2, 29})});
    const ReportTable table = buildReportTable(definition, schedule);
    EXPECT_EQ(reportCsv(definition, table),
              "EMIDate,SN,Interest\n31/Jan/2024,1,\"5,0\"\n29/Feb/2024,2,4.58\n");
    definition.csvHeader = CsvHeader::Headings;
    const std::string csv = reportCsv(definition, table);
    EXPECT_EQ(csv.substr(0, csv.find('\n')), "\"Due, date\",No.,\"\"\"I\"\"\"");
}

}  // namespace
}  // namespace quillet
