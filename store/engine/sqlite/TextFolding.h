#pragma once
/// \file
/// \brief Text compared without regard to case for every letter that has a case, on the
/// embedded store's connections.

#include <optional>
#include <string_view>

struct sqlite3;

namespace quillet::sqlite {

/// \brief The simple Unicode case folding of one code point (one character to one character):
/// 'É' folds to 'é', 'Σ' and 'ς' to 'σ', 'Ж' to 'ж'; a character without a case is itself.
char32_t foldCase(char32_t c);

/// \brief Orders two UTF-8 texts by their case-folded characters: negative, zero or positive.
/// Texts that differ only in case compare equal; ASCII texts order as SQLite's own NOCASE
/// orders them. A byte that is not part of valid UTF-8 counts as a character of its own.
int compareIgnoringCase(std::string_view a, std::string_view b);

/// \brief The Like match: '%' any run of characters, '_' exactly one, everything else (a
/// backslash included) only itself, letters compared case-folded. With an escape character,
/// that character makes the one after it literal.
bool likeMatches(std::string_view pattern, std::string_view text,
                 std::optional<char32_t> escape = std::nullopt);

/// \brief Makes the connection's NOCASE collation and its like() function fold every letter
/// that has a case, not only A to Z.
///
/// NOTE: the columns keep their declared NOCASE collation (a name every SQLite knows), so the
/// file stays readable by any SQLite tool, which then folds ASCII only. Only the comparison this
/// connection makes changes; the stored schema does not. The store's own tables carry no index
/// on text, so nothing stored depends on the collation's order.
void installTextFolding(sqlite3* db);

}  // namespace quillet::sqlite
