#include "report/ReportTable.h"

#include <algorithm>
#include <cctype>

#include "runtime/Date.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

std::size_t storedIndex(const ReportColumn& column, const StoredSchedule& schedule) {
    const auto& names = schedule.columns;
    if (column.position != 0) {
        const auto index = static_cast<std::size_t>(column.position - 1);
        if (index >= names.size()) {
            throw ReportDefinitionError(column.line, "the column @" +
                                                         std::to_string(column.position) +
                                                         " does not exist: the EMI table has " +
                                                         std::to_string(names.size()) + " columns");
        }
        return index;
    }
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
        return equalsIgnoringCase(name, column.source);
    });
    if (found == names.end()) {
        std::string list;
        for (const auto& name : names) {
            list += (list.empty() ? "" : ", ") + name;
        }
        throw ReportDefinitionError(column.line, "the EMI table has no column \"" + column.source +
                                                     "\" (its columns: " + list + ")");
    }
    return static_cast<std::size_t>(found - names.begin());
}

int decimalsShown(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) {
        return 0;
    }
    std::size_t end = point + 1;
    while (end < text.size() && std::isdigit(static_cast<unsigned char>(text[end]))) {
        ++end;
    }
    return static_cast<int>(end - point - 1);
}

}  // namespace

std::string cellText(const Variant& value, ValueFormat format) {
    if (value.isNull() || value.isEmpty()) {
        return {};
    }
    if (format == ValueFormat::Date) {
        if (value.type() == Variant::Type::Date) {
            return formatDayMonthYear(value.toDate());
        }
        if (value.type() == Variant::Type::String) {
            if (const auto date = parseDate(value.toString())) {
                return formatDayMonthYear(*date);
            }
        }
    }
    return value.toString();
}

std::string columnTotal(const std::vector<std::vector<std::string>>& rows, std::size_t column) {
    double sum = 0;
    int decimals = 0;
    for (const auto& row : rows) {
        const std::string& text = row.at(column);
        if (text.empty()) {
            continue;
        }
        const auto number = parseNumber(text);
        if (!number) {
            return {};
        }
        sum += *number;
        // An exponent form says nothing useful about decimals; its value still counts.
        if (text.find_first_of("eE") == std::string::npos) {
            decimals = std::max(decimals, decimalsShown(text));
        }
    }
    return formatGeneral(roundHalfEven(sum, decimals));
}

ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule) {
    ReportTable table;
    std::vector<std::size_t> sources;
    for (const ReportColumn& column : definition.columns) {
        sources.push_back(storedIndex(column, schedule));
        table.headings.push_back(column.heading);
        table.names.push_back(schedule.columns[sources.back()]);
    }
    table.rows.reserve(schedule.rows.size());
    for (const auto& stored : schedule.rows) {
        std::vector<std::string> row;
        row.reserve(sources.size());
        for (std::size_t c = 0; c < sources.size(); ++c) {
            row.push_back(cellText(stored.at(sources[c]), definition.columns[c].format));
        }
        table.rows.push_back(std::move(row));
    }
    table.totals.resize(definition.columns.size());
    for (const std::size_t c : definition.totalledColumns) {
        table.totals[c] = columnTotal(table.rows, c);
    }
    return table;
}

}  // namespace quillet
