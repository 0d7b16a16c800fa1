#include "report/ReportTable.h"

#include <algorithm>

#include "report/ReportNumbers.h"
#include "runtime/Date.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

std::size_t storedIndex(const ColumnSource& source, const ReportColumn& column,
                        const StoredSchedule& schedule) {
    const auto& names = schedule.columns;
    if (source.position != 0) {
        const auto index = static_cast<std::size_t>(source.position - 1);
        if (index >= names.size()) {
            throw ReportDefinitionError(column.line, "the column @" +
                                                         std::to_string(source.position) +
                                                         " does not exist: the EMI table has " +
                                                         std::to_string(names.size()) + " columns");
        }
        return index;
    }
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& name) {
        return equalsIgnoringCase(name, source.name);
    });
    if (found == names.end()) {
        std::string list;
        for (const auto& name : names) {
            list += (list.empty() ? "" : ", ") + name;
        }
        throw ReportDefinitionError(column.line, "the EMI table has no column \"" + source.name +
                                                     "\" (its columns: " + list + ")");
    }
    return static_cast<std::size_t>(found - names.begin());
}

std::optional<double> numberOf(const Variant& value) {
    if (value.isNumber()) {
        return value.toDouble();
    }
    if (value.type() == Variant::Type::String) {
        return parseNumber(value.toString());
    }
    return std::nullopt;
}

bool isFixed(ValueFormat format) {
    return format == ValueFormat::Fixed || format == ValueFormat::Grouped;
}

std::optional<std::size_t> namedColumn(const StoredSchedule& schedule, const char* name) {
    const auto& names = schedule.columns;
    const auto found = std::find_if(names.begin(), names.end(), [&](const std::string& column) {
        return equalsIgnoringCase(column, name);
    });
    if (found == names.end()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(found - names.begin());
}

ScheduleSeries seriesOf(const StoredSchedule& schedule) {
    ScheduleSeries series;
    const auto opening = namedColumn(schedule, "OpeningBalance");
    const auto closing = namedColumn(schedule, "ClosingBalance");
    const auto interest = namedColumn(schedule, "Interest");
    const auto principal = namedColumn(schedule, "Principal");
    if (!opening || !closing || !interest || !principal) {
        return series;
    }
    const auto value = [](const Variant& v) { return numberOf(v).value_or(0.0); };
    for (const auto& row : schedule.rows) {
        series.closingBalance.push_back(value(row.at(*closing)));
        series.interest.push_back(value(row.at(*interest)));
        series.principal.push_back(value(row.at(*principal)));
    }
    if (!schedule.rows.empty()) {
        series.openingBalance = value(schedule.rows.front().at(*opening));
    }
    return series;
}

// The sums a reader makes of the printed interest and principal figures.
ScheduleSummary summaryOf(const StoredSchedule& schedule, std::optional<int> chosenDecimals) {
    ScheduleSummary summary;
    const auto interest = namedColumn(schedule, "Interest");
    const auto principal = namedColumn(schedule, "Principal");
    const auto due = namedColumn(schedule, "EMIDate");
    if (!interest || !principal || !due) {
        return summary;
    }
    int decimals = chosenDecimals.value_or(0);
    if (!chosenDecimals) {
        for (const auto& row : schedule.rows) {
            for (const std::size_t c : {*interest, *principal}) {
                decimals = std::max(decimals, decimalsShown(row.at(c).toString()));
            }
        }
    }
    ShownSum interestSum;
    ShownSum payableSum;
    for (const auto& row : schedule.rows) {
        const std::string interestText = cellText(row.at(*interest), ValueFormat::Fixed, decimals);
        const std::string principalText =
            cellText(row.at(*principal), ValueFormat::Fixed, decimals);
        interestSum.add(interestText);
        payableSum.add(interestText);
        payableSum.add(principalText);
    }
    if (interestSum.valid()) {
        summary.totalInterest = interestSum.text(decimals, true);
    }
    if (payableSum.valid()) {
        summary.totalPayable = payableSum.text(decimals, true);
    }
    if (!schedule.rows.empty()) {
        summary.lastDue = cellText(schedule.rows.back().at(*due), ValueFormat::Date, -1);
    }
    return summary;
}

}  // namespace

std::string cellText(const Variant& value, ValueFormat format, int decimals) {
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
    if (isFixed(format) && value.type() != Variant::Type::Date) {
        if (const auto number = numberOf(value)) {
            return formatFixed(*number, decimals, format == ValueFormat::Grouped);
        }
    }
    return value.toString();
}

std::string columnTotal(const std::vector<std::vector<std::string>>& rows, std::size_t column,
                        ValueFormat format, int decimals) {
    ShownSum sum;
    for (const auto& row : rows) {
        if (!sum.add(row.at(column))) {
            return {};
        }
    }
    return sum.text(isFixed(format) ? std::optional<int>(decimals) : std::nullopt,
                    format == ValueFormat::Grouped);
}

ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule,
                             std::optional<int> chosenDecimals) {
    ReportTable table;
    std::vector<std::vector<std::size_t>> sources;
    for (const ReportColumn& column : definition.columns) {
        auto& parts = sources.emplace_back();
        parts.push_back(storedIndex({column.source, column.position}, column, schedule));
        for (const ColumnSource& added : column.addedSources) {
            parts.push_back(storedIndex(added, column, schedule));
        }
        table.headings.push_back(column.heading);
        int decimals = -1;
        if (isFixed(column.format)) {
            if (column.decimals >= 0) {
                decimals = column.decimals;
            } else if (chosenDecimals) {
                decimals = *chosenDecimals;
            } else {
                decimals = 0;
                for (const auto& row : schedule.rows) {
                    for (const std::size_t part : parts) {
                        decimals = std::max(decimals, decimalsShown(row.at(part).toString()));
                    }
                }
            }
        }
        table.decimals.push_back(decimals);
    }
    table.rows.reserve(schedule.rows.size());
    for (const auto& stored : schedule.rows) {
        std::vector<std::string> row;
        row.reserve(sources.size());
        for (std::size_t c = 0; c < sources.size(); ++c) {
            const ReportColumn& column = definition.columns[c];
            const auto& parts = sources[c];
            if (parts.size() == 1) {
                row.push_back(cellText(stored.at(parts[0]), column.format, table.decimals[c]));
                continue;
            }
            // A sum column adds the figures its parts show, so a row reads as it adds up.
            ShownSum sum;
            bool allNumbers = true;
            for (const std::size_t part : parts) {
                allNumbers = sum.add(cellText(stored.at(part), column.format, table.decimals[c]));
            }
            row.push_back(allNumbers ? sum.text(isFixed(column.format)
                                                    ? std::optional<int>(table.decimals[c])
                                                    : std::nullopt,
                                                column.format == ValueFormat::Grouped)
                                     : std::string());
        }
        table.rows.push_back(std::move(row));
    }
    table.totals.resize(definition.columns.size());
    for (const std::size_t c : definition.totalledColumns) {
        table.totals[c] =
            columnTotal(table.rows, c, definition.columns[c].format, table.decimals[c]);
    }
    if (definition.chart) {
        table.series = seriesOf(schedule);
    }
    table.summary = summaryOf(schedule, chosenDecimals);
    return table;
}

}  // namespace quillet
