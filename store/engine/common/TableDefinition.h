#pragma once
/// \file
/// \brief Rewriting a stored CREATE TABLE text, for changing a column's declared type: the engine
/// cannot change a column in place, so the table is rebuilt from this text.

#include <optional>
#include <string>
#include <string_view>

namespace quillet::engine {

/// \brief Returns the CREATE TABLE statement for a table named newTableName (given ready to
/// use, quoted as needed) with the columns and constraints of createSql, except that column
/// (matched without regard to case) gets newType as its declared type. The column keeps its
/// other constraints (NOT NULL, DEFAULT, PRIMARY KEY ...) but not its old collation: newType
/// carries the collation that goes with it. Returns nullopt when the table has no such column.
/// Raises RuntimeError when createSql is not a column-list CREATE TABLE statement.
std::optional<std::string> createWithColumnType(std::string_view createSql,
                                                std::string_view newTableName,
                                                std::string_view column, std::string_view newType);

/// Quotes an identifier for the engine ("name", inner quotes doubled).
std::string quoteIdentifier(std::string_view name);

}  // namespace quillet::engine
