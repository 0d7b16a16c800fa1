#pragma once
/// \file
/// \brief The spelling of table and column names on a server that folds them to lower case.

#include <string>
#include <string_view>

namespace quillet::odbc {

/// \brief Learns the names a CREATE TABLE or ALTER TABLE statement (or the default schema)
/// spells, for this process.
void learnNameSpellings(std::string_view ddl);

/// \brief The name as the statement spells it, else as a learnt definition spells it, else as
/// given. Only a name given in lower case is respelt.
std::string respelt(std::string_view name, std::string_view statement);

/// \brief The description with each double-quoted lower-case name respelt.
std::string respeltQuotedNames(std::string description, std::string_view statement);

}  // namespace quillet::odbc
