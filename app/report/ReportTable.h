#pragma once
// The texts of the schedule table: the schedule's rows passed through the definition's columns,
// and the totals. Pure; the printed page, the print preview and the chart all use it.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "report/ReportDefinition.h"
#include "report/StoredSchedule.h"
#include "runtime/Variant.h"

namespace quillet {

/// The most bars the chart's yearly panel draws: a long schedule gives each bar several years.
inline constexpr int kMostYearlyBars = 40;

/// \brief The schedule's figures as numbers, for the chart, gathered with the totals in the one
/// pass over the rows. Empty when the schedule lacks one of the columns the chart draws.
struct ScheduleSeries {
    /// The balance after each month, one entry per row in month order.
    std::vector<double> closingBalance;
    /// The first month's opening balance: where the balance line starts.
    double openingBalance = 0;
    /// The highest balance: the opening one or any closing one.
    double highestBalance = 0;
    /// \brief Interest and principal summed per bar of the yearly panel, in month order: each
    /// bar yearsPerBar whole years (12 months each, the last bar what remains), so that no more
    /// than kMostYearlyBars bars are drawn.
    int yearsPerBar = 1;
    std::vector<double> interestPerBar;
    std::vector<double> principalPerBar;
};

/// \brief What the schedule comes to, for the first page: the sums of the printed figures,
/// grouped in thousands with the table's decimals, and the last due date. Empty texts when the
/// schedule lacks the columns.
struct ScheduleSummary {
    std::string totalInterest;
    /// Interest and principal together: everything the borrower pays.
    std::string totalPayable;
    /// dd/Mmm/yyyy
    std::string lastDue;
};

/// How one column of the table is written from a stored row.
struct TableColumn {
    /// The stored columns it shows; more than one: their sum.
    std::vector<std::size_t> parts;
    ValueFormat format = ValueFormat::General;
    /// The decimals of a fixed or grouped column; -1 for the others.
    int decimals = -1;
};

/// \brief The rows of the table, each written when it is asked for: a preview writes only the
/// rows of the pages it draws, a PDF each row once, as it draws it. Shares the schedule it reads.
class TableRows {
public:
    TableRows() = default;
    TableRows(std::shared_ptr<const StoredSchedule> schedule, std::vector<TableColumn> columns);

    std::size_t size() const { return m_schedule ? m_schedule->rows.size() : 0; }
    bool empty() const { return size() == 0; }
    /// \brief Writes the texts of row (0-based), one per column, into texts; the strings it
    /// already holds are reused.
    void write(std::size_t row, std::vector<std::string>& texts) const;
    /// The texts of row (0-based), one per column.
    std::vector<std::string> operator[](std::size_t row) const;
    /// Appends the text of column of the stored row to out.
    void appendCell(std::string& out, const std::vector<Variant>& stored, std::size_t column) const;

private:
    std::shared_ptr<const StoredSchedule> m_schedule;
    std::vector<TableColumn> m_columns;
};

/// \brief One text per definition column for every row, plus the totals.
struct ReportTable {
    /// The definition's headings, one per column.
    std::vector<std::string> headings;
    TableRows rows;
    /// The total's text for each totalled column; nothing for the others.
    std::vector<std::optional<std::string>> totals;
    /// The decimals each column writes (fixed and grouped columns; -1 for the others).
    std::vector<int> decimals;
    ScheduleSeries series;
    ScheduleSummary summary;
};

/// \brief A value as a cell of that format shows it: numbers in the general form (as the grid)
/// or with exactly decimals (fixed, grouped), dates as dd/Mmm/yyyy in a date column, a Null as
/// an empty cell, a text that is not a number as it is.
std::string cellText(const Variant& value, ValueFormat format, int decimals);

/// \brief The total of a column given as its texts: the exact sum of the figures shown, written
/// as the column writes its figures (fixed/grouped: with decimals; general: with the most
/// decimals any figure shows). Empty cells count as 0; a text that is not a number leaves the
/// total empty.
std::string columnTotal(const std::vector<std::vector<std::string>>& rows, std::size_t column,
                        ValueFormat format = ValueFormat::General, int decimals = -1);

/// \brief Builds the table, its totals and summary from the numbers themselves: no row's text is
/// written until it is asked for. chosenDecimals is the calculation's Decimal Round To; fixed and
/// grouped columns without decimals of their own write that many (without a calculation, the
/// most the column's values show). A definition column that names no stored column throws a
/// ReportDefinitionError carrying the line of that column.
ReportTable buildReportTable(const ReportDefinition& definition,
                             std::shared_ptr<const StoredSchedule> schedule,
                             std::optional<int> chosenDecimals);
/// The same for a copy of schedule.
ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule,
                             std::optional<int> chosenDecimals);

}  // namespace quillet
