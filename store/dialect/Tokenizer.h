#pragma once
/// \file
/// \brief The lexical level of the Access dialect: a statement as a sequence of tokens that,
/// joined again, give back the statement exactly as written.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/Date.h"

namespace quillet::dialect {

enum class TokenKind {
    Space,        ///< a run of blanks, tabs and line breaks
    Word,         ///< a keyword or a bare name: letters, digits, "_", "$" and any non-ASCII byte
    BracketName,  ///< [a name in brackets]
    QuotedName,   ///< "a name in double quotes"
    Number,       ///< unsigned: 12, 1.5, .5, 5., 1e3, 2.5E-3
    String,       ///< 'text', an apostrophe inside written twice
    DateLiteral,  ///< #date#, already checked to hold a date of the accepted forms
    Symbol,       ///< an operator or punctuation: ( ) , ; = <> <= >= * + - / and the rest
};

/// \brief One token; text points into the statement and includes any delimiters.
struct Token {
    TokenKind kind = TokenKind::Symbol;
    std::string_view text;
    /// The date of a DateLiteral; unused otherwise.
    Date date;
};

/// \brief Splits a statement into tokens. The dialect has no comments, so "--" and "/*" are
/// operators here. Raises the dialect error (RuntimeError, SQLSTATE 42000) for an unterminated
/// 'text' or #date#, an empty ## and a #...# that is not a date in an accepted form. An unclosed
/// [name] or "name" runs to the end of the text and is left for the engine to refuse.
std::vector<Token> tokenize(std::string_view statement);

/// True for a Word equal to keyword, ignoring ASCII case; keyword is given in capitals.
bool isKeyword(const Token& token, std::string_view keyword);

/// The content of a 'text' literal with doubled apostrophes made single.
std::string unquoteString(std::string_view literal);

/// The name a Word, [bracketed] or "quoted" token stands for, without its delimiters.
std::string nameOf(const Token& token);

/// True for a byte that may continue a bare name.
bool isNameByte(unsigned char c);

}  // namespace quillet::dialect
