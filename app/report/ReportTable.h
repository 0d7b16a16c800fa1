#pragma once
// The texts of the schedule table: the stored rows passed through the definition's columns, and
// the totals. Pure; shared by the printed page and the CSV export so both say the same.

#include <optional>
#include <string>
#include <vector>

#include "report/ReportDefinition.h"
#include "report/StoredSchedule.h"
#include "runtime/Variant.h"

namespace quillet {

/// \brief One text per definition column for every stored row, plus the totals.
struct ReportTable {
    /// The definition's headings, one per column.
    std::vector<std::string> headings;
    /// The stored column's name behind each report column.
    std::vector<std::string> names;
    std::vector<std::vector<std::string>> rows;
    /// The total's text for each totalled column; nothing for the others.
    std::vector<std::optional<std::string>> totals;
};

/// \brief A value as the grid shows it in a column of that format: numbers in the general form,
/// dates as dd/Mmm/yyyy in a date column, a Null as an empty cell.
std::string cellText(const Variant& value, ValueFormat format);

/// \brief Sums the numbers of a column given as texts, rounded to the most decimals any of them
/// shows, so the noise of binary fractions never reaches the page; empty cells count as 0. A
/// text that is not a number leaves the total empty.
std::string columnTotal(const std::vector<std::vector<std::string>>& rows, std::size_t column);

/// \brief Builds the table. A definition column that names no stored column throws a
/// ReportDefinitionError carrying the line of that column.
ReportTable buildReportTable(const ReportDefinition& definition, const StoredSchedule& schedule);

}  // namespace quillet
