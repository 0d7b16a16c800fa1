// The report-definition parser: any text either parses into a definition the layout can use or
// is refused with the line at fault; nothing else.
#include <algorithm>
#include <string>

#include "FuzzTarget.h"
#include "report/ReportDefinition.h"

using quillet::testing::require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = quillet::testing::asText(data, size);
    try {
        const quillet::ReportDefinition definition = quillet::parseReportDefinition(input);
        std::size_t previous = 0;
        for (std::size_t i = 0; i < definition.totalledColumns.size(); ++i) {
            const std::size_t column = definition.totalledColumns[i];
            require(column < definition.columns.size() && (i == 0 || column > previous),
                    "totals name existing columns in column order", input);
            previous = column;
        }
        for (const quillet::ReportColumn& column : definition.columns) {
            require(column.widthPercent >= 0 && column.widthPercent <= 100,
                    "a column's width is a share of the table", input);
        }
        require(definition.fontSize > 0 && definition.marginMillimetres >= 0,
                "the font size and the margins can be laid out", input);
    } catch (const quillet::ReportDefinitionError& error) {
        const auto lines = static_cast<int>(std::count(input.begin(), input.end(), '\n')) + 1;
        require(error.line() >= 0 && error.line() <= lines,
                "a refused definition names one of its lines", input);
    }
    return 0;
}
