#pragma once
/// \file
/// \brief Recognising the query that takes a new serial ("select max(SN) from T ...").

#include <optional>
#include <string>
#include <string_view>

namespace quillet::odbc {

/// \brief The table of a "select max(...) from table ..." statement; nothing for any other.
std::optional<std::string> serialQueryTable(std::string_view accessSql);

/// \brief The table of a "delete [*] from table" statement that empties it (no WHERE); nothing
/// for any other.
std::optional<std::string> emptiedTable(std::string_view accessSql);

/// \brief True when the statement holds a ';' with more text after it: a second statement.
bool holdsSecondStatement(std::string_view accessSql);

}  // namespace quillet::odbc
