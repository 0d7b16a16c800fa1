#pragma once
/// \file
/// \brief One INSERT statement for many rows, made from the statement for one.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quillet::odbc {

/// \brief The statement that inserts rows rows at once when sql is a single-row
/// "INSERT INTO table [(columns)] VALUES (?, ..., ?)" whose every value is a placeholder and
/// which holds nothing after its values; nothing otherwise. The placeholders are row after row,
/// each row's in the order of the one row's.
std::optional<std::string> manyRowsInsert(std::string_view sql, std::size_t rows);

}  // namespace quillet::odbc
