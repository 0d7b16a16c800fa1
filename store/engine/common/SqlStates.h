#pragma once
/// \file
/// \brief The SQLSTATE classes callers test, for the failures a SQLite database describes only
/// in words (the embedded store, and a SQLite file reached through a driver).

#include <string>
#include <string_view>

namespace quillet::engine {

/// \brief The SQLSTATE of a general SQLite failure from its message: a syntax error, a missing
/// table or column, a duplicate column or table, a value count that does not match, a locked
/// database. "HY000" when the message names none of these.
std::string sqlStateForSqliteMessage(std::string_view message);

}  // namespace quillet::engine
