#pragma once
/// \file
/// \brief The checked pieces that operations join into statements: quoted texts are escaped,
/// bare numbers must read as numbers, names must be plain identifiers. A piece that fails raises
/// before any SQL runs, so the operation fails the way a failing statement fails under its trap.

#include <string>
#include <string_view>

namespace quillet {

/// The text between apostrophes with every apostrophe doubled: 'O''Brien'. Without the quotes.
std::string escaped(std::string_view text);
/// "'" + escaped(text) + "'".
std::string quoted(std::string_view text);
/// The text itself when it reads as a number (trimmed); raises otherwise.
std::string bareNumber(std::string_view text);
/// The name itself when it is a plain identifier (letters, digits, underscore, not starting
/// with a digit); raises otherwise.
const std::string& identifier(const std::string& name);
/// "asc", "desc" or "" in any case; raises otherwise.
const std::string& orderWord(const std::string& word);

}  // namespace quillet
