#include "dialect/PostgresDialect.h"

#include <algorithm>
#include <vector>

#include "dialect/Tokenizer.h"
#include "runtime/Text.h"

namespace quillet::dialect {

namespace {

bool startsWithWord(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && equalsIgnoringCase(text.substr(0, word.size()), word) &&
           (text.size() == word.size() ||
            !isNameByte(static_cast<unsigned char>(text[word.size()])));
}

// NOTE: PostgreSQL folds unquoted names to lower case, and the tables are created with unquoted
// names; a bracketed name therefore means its folded, double-quoted form.
std::string foldedQuotedName(const Token& token) {
    std::string out = "\"";
    for (const char c : nameOf(token)) {
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    out += '"';
    return toLowerAscii(out);
}

std::size_t skipSpaces(const std::vector<Token>& tokens, std::size_t i) {
    while (i < tokens.size() && tokens[i].kind == TokenKind::Space) {
        ++i;
    }
    return i;
}

bool isSymbolText(const std::vector<Token>& tokens, std::size_t i, std::string_view text) {
    return i < tokens.size() && tokens[i].kind == TokenKind::Symbol && tokens[i].text == text;
}

// Past the ")" that closes the "(" at open; open itself when it is never closed.
std::size_t pastClosing(const std::vector<Token>& tokens, std::size_t open) {
    int depth = 0;
    for (std::size_t k = open; k < tokens.size(); ++k) {
        if (isSymbolText(tokens, k, "(")) {
            ++depth;
        } else if (isSymbolText(tokens, k, ")") && --depth == 0) {
            return k + 1;
        }
    }
    return open;
}

// Past one term of an expression starting at i: a literal, a parameter, a (qualified) name, a
// call or a parenthesised expression, with any sign before it; i itself when it is none of them.
std::size_t pastTerm(const std::vector<Token>& tokens, std::size_t i) {
    if (i >= tokens.size()) {
        return i;
    }
    const Token& token = tokens[i];
    if (isSymbolText(tokens, i, "(")) {
        return pastClosing(tokens, i);
    }
    if (isSymbolText(tokens, i, "?")) {
        return i + 1;
    }
    if (isSymbolText(tokens, i, "-") || isSymbolText(tokens, i, "+")) {
        const std::size_t operand = skipSpaces(tokens, i + 1);
        const std::size_t end = pastTerm(tokens, operand);
        return end == operand ? i : end;
    }
    if (token.kind == TokenKind::String || token.kind == TokenKind::Number) {
        return i + 1;
    }
    if (token.kind != TokenKind::Word && token.kind != TokenKind::BracketName &&
        token.kind != TokenKind::QuotedName) {
        return i;
    }
    std::size_t end = i + 1;
    while (isSymbolText(tokens, end, ".") && end + 1 < tokens.size() &&
           tokens[end + 1].kind != TokenKind::Space) {
        end += 2;
    }
    if (const std::size_t open = skipSpaces(tokens, end); isSymbolText(tokens, open, "(")) {
        const std::size_t closed = pastClosing(tokens, open);
        return closed == open ? end : closed;
    }
    return end;
}

// Past the pattern of a Like whose keyword is at like: terms joined by "||"; the keyword's own
// index when the pattern is not recognised.
std::size_t pastLikePattern(const std::vector<Token>& tokens, std::size_t like) {
    const std::size_t first = skipSpaces(tokens, like + 1);
    std::size_t end = pastTerm(tokens, first);
    if (end == first) {
        return like;
    }
    for (;;) {
        const std::size_t joiner = skipSpaces(tokens, end);
        if (!isSymbolText(tokens, joiner, "||")) {
            return end;
        }
        const std::size_t next = skipSpaces(tokens, joiner + 1);
        const std::size_t nextEnd = pastTerm(tokens, next);
        if (nextEnd == next) {
            return end;
        }
        end = nextEnd;
    }
}

// NOTE: PostgreSQL's Like reads a backslash as its escape character; in the Access dialect only
// '%' and '_' are special, so every Like gets an explicit empty escape, which makes a backslash
// an ordinary character again. A Like that already names its escape keeps it.
constexpr const char* kNoEscape = " ESCAPE ''";

std::string adaptStatement(std::string_view sql) {
    const std::vector<Token> tokens = tokenize(sql);
    std::string out;
    out.reserve(sql.size() + 8);
    std::vector<std::size_t> escapesBefore;
    const auto addEscapeIfDue = [&](std::size_t i) {
        if (std::find(escapesBefore.begin(), escapesBefore.end(), i) != escapesBefore.end() &&
            !(skipSpaces(tokens, i) < tokens.size() &&
              isKeyword(tokens[skipSpaces(tokens, i)], "ESCAPE"))) {
            out += kNoEscape;
        }
    };
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        addEscapeIfDue(i);
        const Token& token = tokens[i];
        if (isKeyword(token, "LIKE")) {
            out += "ILIKE";
            if (const std::size_t end = pastLikePattern(tokens, i); end != i) {
                escapesBefore.push_back(end);
            }
        } else if (isKeyword(token, "COLLATE")) {
            // "COLLATE NOCASE": citext already compares without regard to case.
            std::size_t k = i + 1;
            while (k < tokens.size() && tokens[k].kind == TokenKind::Space) {
                ++k;
            }
            if (k < tokens.size() && isKeyword(tokens[k], "NOCASE")) {
                while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) {
                    out.pop_back();
                }
                i = k;
                continue;
            }
            out += token.text;
        } else if (token.kind == TokenKind::BracketName) {
            out += foldedQuotedName(token);
        } else {
            out += token.text;
        }
    }
    addEscapeIfDue(tokens.size());
    return out;
}

}  // namespace

std::optional<std::string> postgresColumnType(std::string_view sqliteType) {
    if (startsWithWord(sqliteType, "TEXT")) {
        return "citext";
    }
    if (startsWithWord(sqliteType, "NUMBER")) {
        return "numeric";
    }
    if (startsWithWord(sqliteType, "DOUBLE")) {
        return "double precision";
    }
    if (startsWithWord(sqliteType, "INTEGER")) {
        return "bigint";
    }
    if (startsWithWord(sqliteType, "DATE")) {
        return "timestamp(0)";
    }
    if (startsWithWord(sqliteType, "BLOB")) {
        return "bytea";
    }
    return std::nullopt;
}

void adaptForPostgres(Translation& translation) {
    for (EngineStatement& statement : translation.statements) {
        statement.sql = adaptStatement(statement.sql);
    }
    if (translation.alterColumn) {
        translation.alterColumn->type = adaptStatement(translation.alterColumn->type);
    }
}

}  // namespace quillet::dialect
