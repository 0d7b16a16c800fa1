#pragma once
/// \file
/// \brief One statement's tokens with the navigation the translations share, and the writing of
/// tokens back out as engine SQL.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "dialect/Tokenizer.h"

namespace quillet::dialect {

/// \brief Tokens [begin, end) are written as text instead.
struct Edit {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;
};

/// A range of token indexes [first, second).
using TokenRange = std::pair<std::size_t, std::size_t>;

/// \brief The tokens of one statement, without leading blanks and without trailing blanks and
/// semicolons. Indexes run from begin() to end(); an index at end() is "nothing there".
class StatementTokens {
public:
    explicit StatementTokens(std::vector<Token> tokens);

    std::size_t begin() const { return m_begin; }
    std::size_t end() const { return m_end; }
    const Token& operator[](std::size_t i) const { return m_tokens[i]; }

    /// The first index at or after i that is not blank; end() when there is none.
    std::size_t next(std::size_t i) const;
    /// True when i is before end() and holds the keyword (given in capitals).
    bool isWord(std::size_t i, std::string_view keyword) const;
    /// True when i is before end() and holds the one-character symbol.
    bool isSymbol(std::size_t i, char symbol) const;
    /// True when i is before end() and holds a Word, [name] or "name".
    bool isName(std::size_t i) const;

    /// The end of a possibly qualified name (a.b.c) starting at i; i itself when i is no name.
    std::size_t nameEnd(std::size_t i) const;
    /// The ")" that closes the "(" at open, within [open, limit); limit when it is not closed.
    std::size_t closing(std::size_t open, std::size_t limit) const;
    /// The first index in [from, limit) at parenthesis depth 0 holding one of the keywords;
    /// limit when none.
    std::size_t findWordAtTop(std::size_t from, std::size_t limit,
                              std::initializer_list<std::string_view> keywords) const;
    /// Splits [first, last) at commas outside parentheses; each part is trimmed of blanks. An
    /// empty range gives one empty part.
    std::vector<TokenRange> splitAtCommas(std::size_t first, std::size_t last) const;

    /// \brief Writes [first, last) as engine SQL, applying the edits (sorted, inside the range,
    /// not overlapping). #date# literals become ISO text literals; tokens that the engine would
    /// read together differently ("--", "/*", a literal glued to a name) are kept apart.
    std::string render(std::size_t first, std::size_t last,
                       const std::vector<Edit>& edits = {}) const;

private:
    std::vector<Token> m_tokens;
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
};

/// Appends text to SQL being written, keeping it apart from what precedes it where the engine
/// would otherwise read the start of a comment.
void appendSql(std::string& out, std::string_view text);
/// Appends a date as the engine's text literal 'yyyy-mm-dd[ hh:mm:ss]'.
void appendDateLiteral(std::string& out, const Date& date);

}  // namespace quillet::dialect
