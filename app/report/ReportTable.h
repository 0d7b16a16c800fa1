#pragma once
// The texts of the schedule table: the schedule's rows passed through the definition's columns,
// and the totals. Pure; the printed page, the print preview and the chart all use it.

#include <optional>
#include <string>
#include <vector>

#include "report/ReportDefinition.h"
#include "report/StoredSchedule.h"
#include "runtime/Variant.h"

namespace quillet {

/// \brief The schedule's figures as numbers, for the chart: one entry per row, in month order.
/// Empty when the schedule lacks one of the columns the chart draws.
struct ScheduleSeries {
    std::vector<double> closingBalance;
    std::vector<double> interest;
    std::vector<double> principal;
    /// The first month's opening balance: where the balance line starts.
    double openingBalance = 0;
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

/// \brief One text per definition column for every row, plus the totals.
struct ReportTable {
    /// The definition's headings, one per column.
    std::vector<std::string> headings;
    std::vector<std::vector<std::string>> rows;
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

/// \brief Builds the table. chosenDecimals is the calculation's Decimal Round To; fixed and
/// grouped columns without decimals of their own write that many (without a calculation, the
/// most the column's values show). A definition column that names no stored column throws a
/// ReportDefinitionError carrying the line of that column.
ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule,
                             std::optional<int> chosenDecimals);

}  // namespace quillet
