#include "report/ReportTable.h"

#include <algorithm>
#include <cmath>
#include <limits>

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

/// \brief The units of its last decimal a fixed cell of value shows: 0 for an empty cell, which
/// a sum counts as 0; nothing where the cell shows no counted figure (a text, a date, a figure
/// beyond counting), whose text then decides.
std::optional<long long> cellUnits(const Variant& value, int decimals) {
    if (value.isNull() || value.isEmpty()) {
        return 0;
    }
    if (value.type() == Variant::Type::Date) {
        return std::nullopt;
    }
    const auto number = numberOf(value);
    return number ? shownUnits(*number, decimals) : std::nullopt;
}

// Far enough below the largest 64-bit count that no running sum of figures whose sizes add up to
// less can overflow, in whatever order it is made.
constexpr double kLargestExactSum = 9e18;

/// The stored columns the chart draws, when the schedule has them all.
struct SeriesColumns {
    std::size_t opening = 0;
    std::size_t closing = 0;
    std::size_t interest = 0;
    std::size_t principal = 0;
};

std::optional<SeriesColumns> seriesColumnsOf(const StoredSchedule& schedule) {
    const auto opening = namedColumn(schedule, "OpeningBalance");
    const auto closing = namedColumn(schedule, "ClosingBalance");
    const auto interest = namedColumn(schedule, "Interest");
    const auto principal = namedColumn(schedule, "Principal");
    if (!opening || !closing || !interest || !principal) {
        return std::nullopt;
    }
    return SeriesColumns{*opening, *closing, *interest, *principal};
}

/// \brief What the table needs from every row, gathered in one pass over the rows (a long
/// schedule's rows fill more memory than the caches hold): the exact sums of the figures its
/// totals and summary show, made from the numbers, and the chart's series.
class RowFigures {
public:
    explicit RowFigures(const StoredSchedule& schedule) : m_schedule(schedule) {}

    /// Asks for the sums of the stored columns parts at decimals.
    void ask(const std::vector<std::size_t>& parts, int decimals) {
        for (const std::size_t part : parts) {
            if (!find(part, decimals)) {
                m_sums.push_back(Sum{readingOf(part), part, decimals, 0, 0, true});
            }
        }
    }

    /// Makes the sums asked for and, given its columns, the chart's series.
    void gather(const std::optional<SeriesColumns>& seriesColumns, ScheduleSeries& series) {
        const auto& rows = m_schedule.rows;
        std::size_t closing = 0;
        std::size_t interest = 0;
        std::size_t principal = 0;
        // The chart's bars: whole years, as many to a bar as keep the bars to kMostYearlyBars.
        const auto months = static_cast<int>(rows.size());
        const int years = (months + 11) / 12;
        const int yearsPerBar = std::max(1, (years + kMostYearlyBars - 1) / kMostYearlyBars);
        const int monthsPerBar = 12 * yearsPerBar;
        if (seriesColumns) {
            closing = readingOf(seriesColumns->closing);
            interest = readingOf(seriesColumns->interest);
            principal = readingOf(seriesColumns->principal);
            series.closingBalance.reserve(rows.size());
            series.yearsPerBar = yearsPerBar;
            const auto bars = static_cast<std::size_t>((years + yearsPerBar - 1) / yearsPerBar);
            series.interestPerBar.assign(bars, 0.0);
            series.principalPerBar.assign(bars, 0.0);
        }
        // Plain arrays, written and read one cell at a time: the pass is the report's longest.
        std::vector<double> figures(m_read.size());
        std::vector<CellKind> kinds(m_read.size());
        std::size_t bar = 0;
        int monthInBar = 0;
        double highest = -std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < rows.size(); ++i) {
            // Each row's cells live in an allocation of their own, so waiting for them from
            // memory, not the sums, is what this pass costs: ask for a later row's cells early.
            if (i + kRowsAhead < rows.size()) {
                const auto& later = rows[i + kRowsAhead];
                const char* const cells = reinterpret_cast<const char*>(later.data());
                const std::size_t bytes = later.size() * sizeof(Variant);
                for (std::size_t at = 0; at < bytes; at += kCacheLine) {
                    __builtin_prefetch(cells + at);
                }
            }
            const auto& row = rows[i];
            for (std::size_t r = 0; r < m_read.size(); ++r) {
                kinds[r] = read(row.at(m_read[r]), figures[r]);
            }
            for (Sum& sum : m_sums) {
                if (sum.counted) {
                    add(sum, kinds[sum.reading], figures[sum.reading]);
                }
            }
            if (seriesColumns) {
                const double balance = figures[closing];
                series.closingBalance.push_back(balance);
                highest = std::max(highest, balance);
                series.interestPerBar[bar] += figures[interest];
                series.principalPerBar[bar] += figures[principal];
                if (++monthInBar == monthsPerBar) {
                    ++bar;
                    monthInBar = 0;
                }
            }
        }
        if (seriesColumns && !rows.empty()) {
            series.openingBalance = numberOf(rows.front().at(seriesColumns->opening)).value_or(0.0);
            series.highestBalance = std::max(series.openingBalance, highest);
        }
    }

    /// \brief The exact sum of the figures of the stored columns parts at decimals, as their
    /// cells show them; nothing when a cell shows something else or the sum could leave the
    /// count. Only for sums asked for before gather().
    std::optional<long long> of(const std::vector<std::size_t>& parts, int decimals) const {
        long long total = 0;
        double size = 0;
        for (const std::size_t part : parts) {
            const Sum* sum = find(part, decimals);
            if (sum == nullptr || !sum->counted) {
                return std::nullopt;
            }
            total += sum->units;
            size += sum->size;
        }
        if (size >= kLargestExactSum) {
            return std::nullopt;
        }
        return total;
    }

private:
    /// What a stored cell holds, as the sums and the series take it.
    enum class CellKind : unsigned char { Blank, Number, Other };

    /// \brief Reads value: its figure as the chart draws it (0 for anything but a number) and
    /// what it is, as cellUnits counts it (a blank cell 0, a number its units, anything else
    /// nothing).
    static CellKind read(const Variant& value, double& figure) {
        if (value.isNumber()) {
            figure = value.toDouble();
            return CellKind::Number;
        }
        figure = 0;
        if (value.isNull() || value.isEmpty()) {
            return CellKind::Blank;
        }
        if (value.type() == Variant::Type::String) {
            if (const auto number = parseNumber(value.toString())) {
                figure = *number;
                return CellKind::Number;
            }
        }
        return CellKind::Other;
    }

    struct Sum {
        std::size_t reading = 0;
        std::size_t part = 0;
        int decimals = 0;
        long long units = 0;
        double size = 0;  // the sum of the figures' sizes
        bool counted = true;
    };

    static void add(Sum& sum, CellKind kind, double figure) {
        std::optional<long long> cell;
        if (kind == CellKind::Blank) {
            cell = 0;
        } else if (kind == CellKind::Number) {
            cell = shownUnits(figure, sum.decimals);
        }
        if (!cell) {
            sum.counted = false;
            return;
        }
        sum.units += *cell;
        sum.size += std::fabs(static_cast<double>(*cell));
        sum.counted = sum.size < kLargestExactSum;
    }

    std::size_t readingOf(std::size_t part) {
        const auto found = std::find(m_read.begin(), m_read.end(), part);
        if (found != m_read.end()) {
            return static_cast<std::size_t>(found - m_read.begin());
        }
        m_read.push_back(part);
        return m_read.size() - 1;
    }

    const Sum* find(std::size_t part, int decimals) const {
        for (const Sum& sum : m_sums) {
            if (sum.part == part && sum.decimals == decimals) {
                return &sum;
            }
        }
        return nullptr;
    }

    // How many rows ahead the pass asks for cells: enough to cover a wait on memory.
    static constexpr std::size_t kRowsAhead = 8;
    static constexpr std::size_t kCacheLine = 64;

    const StoredSchedule& m_schedule;
    // The stored columns read from each row, and the sums made from them.
    std::vector<std::size_t> m_read;
    std::vector<Sum> m_sums;
};

std::string unitsText(long long units, int decimals, bool grouped) {
    std::string text;
    appendUnits(text, units, decimals, grouped);
    return text;
}

/// The stored columns and decimals of the summary's figures.
struct SummaryColumns {
    std::size_t interest = 0;
    std::size_t principal = 0;
    std::size_t due = 0;
    int decimals = 0;
};

std::optional<SummaryColumns> summaryColumnsOf(const StoredSchedule& schedule,
                                               std::optional<int> chosenDecimals) {
    const auto interest = namedColumn(schedule, "Interest");
    const auto principal = namedColumn(schedule, "Principal");
    const auto due = namedColumn(schedule, "EMIDate");
    if (!interest || !principal || !due) {
        return std::nullopt;
    }
    int decimals = chosenDecimals.value_or(0);
    if (!chosenDecimals) {
        for (const auto& row : schedule.rows) {
            for (const std::size_t c : {*interest, *principal}) {
                decimals = std::max(decimals, decimalsShown(row.at(c).toString()));
            }
        }
    }
    return SummaryColumns{*interest, *principal, *due, decimals};
}

// The sums a reader makes of the printed interest and principal figures.
ScheduleSummary summaryOf(const StoredSchedule& schedule,
                          const std::optional<SummaryColumns>& columns, const RowFigures& sums) {
    ScheduleSummary summary;
    if (!columns) {
        return summary;
    }
    const std::size_t interest = columns->interest;
    const std::size_t principal = columns->principal;
    const int decimals = columns->decimals;
    if (!schedule.rows.empty()) {
        summary.lastDue = cellText(schedule.rows.back().at(columns->due), ValueFormat::Date, -1);
    }
    const auto interestUnits = sums.of({interest}, decimals);
    const auto payableUnits = sums.of({interest, principal}, decimals);
    if (interestUnits && payableUnits) {
        summary.totalInterest = unitsText(*interestUnits, decimals, true);
        summary.totalPayable = unitsText(*payableUnits, decimals, true);
        return summary;
    }
    // A figure that is not counted (a text, or beyond counting): the printed texts are added.
    ShownSum interestSum;
    ShownSum payableSum;
    for (const auto& row : schedule.rows) {
        const std::string interestText = cellText(row.at(interest), ValueFormat::Fixed, decimals);
        const std::string principalText = cellText(row.at(principal), ValueFormat::Fixed, decimals);
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
    return summary;
}

/// The total of column c: its figures' units where each is counted, else its texts added.
std::string totalOf(const TableRows& rows, const StoredSchedule& schedule,
                    const TableColumn& column, std::size_t c, const RowFigures& sums) {
    const bool grouped = column.format == ValueFormat::Grouped;
    if (isFixed(column.format)) {
        if (const auto units = sums.of(column.parts, column.decimals)) {
            return unitsText(*units, column.decimals, grouped);
        }
    }
    ShownSum sum;
    std::string text;
    for (const auto& stored : schedule.rows) {
        text.clear();
        rows.appendCell(text, stored, c);
        if (!sum.add(text)) {
            return {};
        }
    }
    return sum.text(isFixed(column.format) ? std::optional<int>(column.decimals) : std::nullopt,
                    grouped);
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

TableRows::TableRows(std::shared_ptr<const StoredSchedule> schedule,
                     std::vector<TableColumn> columns)
    : m_schedule(std::move(schedule)), m_columns(std::move(columns)) {}

void TableRows::write(std::size_t row, std::vector<std::string>& texts) const {
    const auto& stored = m_schedule->rows.at(row);
    texts.resize(m_columns.size());
    for (std::size_t c = 0; c < m_columns.size(); ++c) {
        texts[c].clear();
        appendCell(texts[c], stored, c);
    }
}

std::vector<std::string> TableRows::operator[](std::size_t row) const {
    std::vector<std::string> texts;
    write(row, texts);
    return texts;
}

void TableRows::appendCell(std::string& out, const std::vector<Variant>& stored,
                           std::size_t c) const {
    const TableColumn& column = m_columns[c];
    const auto& parts = column.parts;
    const bool grouped = column.format == ValueFormat::Grouped;
    if (isFixed(column.format)) {
        // Counted figures, written from their units: the common case, with no detour through a
        // decimal conversion of the double.
        if (parts.size() == 1) {
            const Variant& value = stored.at(parts[0]);
            if (value.isNull() || value.isEmpty()) {
                return;
            }
            if (const auto units = cellUnits(value, column.decimals)) {
                appendUnits(out, *units, column.decimals, grouped);
                return;
            }
        } else {
            // Each figure counts fewer than 10^15 units: a row's few parts cannot overflow.
            long long sum = 0;
            bool counted = true;
            for (const std::size_t part : parts) {
                const auto units = cellUnits(stored.at(part), column.decimals);
                counted = counted && units;
                sum += units.value_or(0);
            }
            if (counted) {
                appendUnits(out, sum, column.decimals, grouped);
                return;
            }
        }
    }
    if (parts.size() == 1) {
        out += cellText(stored.at(parts[0]), column.format, column.decimals);
        return;
    }
    // A sum column adds the figures its parts show, so a row reads as it adds up.
    ShownSum sum;
    bool allNumbers = true;
    for (const std::size_t part : parts) {
        allNumbers = sum.add(cellText(stored.at(part), column.format, column.decimals));
    }
    if (allNumbers) {
        out += sum.text(isFixed(column.format) ? std::optional<int>(column.decimals) : std::nullopt,
                        grouped);
    }
}

ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule,
                             std::optional<int> chosenDecimals) {
    return buildReportTable(definition, std::make_shared<const StoredSchedule>(schedule),
                            chosenDecimals);
}

ReportTable buildReportTable(const ReportDefinition& definition,
                             std::shared_ptr<const StoredSchedule> shared,
                             std::optional<int> chosenDecimals) {
    const StoredSchedule& schedule = *shared;
    ReportTable table;
    std::vector<TableColumn> columns;
    for (const ReportColumn& column : definition.columns) {
        TableColumn& made = columns.emplace_back();
        made.format = column.format;
        auto& parts = made.parts;
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
        made.decimals = decimals;
        table.decimals.push_back(decimals);
    }
    table.rows = TableRows(shared, columns);
    RowFigures figures(schedule);
    for (const std::size_t c : definition.totalledColumns) {
        if (isFixed(columns[c].format)) {
            figures.ask(columns[c].parts, columns[c].decimals);
        }
    }
    const auto summaryColumns = summaryColumnsOf(schedule, chosenDecimals);
    if (summaryColumns) {
        figures.ask({summaryColumns->interest, summaryColumns->principal},
                    summaryColumns->decimals);
    }
    figures.gather(definition.chart ? seriesColumnsOf(schedule) : std::nullopt, table.series);
    table.totals.resize(definition.columns.size());
    for (const std::size_t c : definition.totalledColumns) {
        table.totals[c] = totalOf(table.rows, schedule, columns[c], c, figures);
    }
    table.summary = summaryOf(schedule, summaryColumns, figures);
    return table;
}

}  // namespace quillet
