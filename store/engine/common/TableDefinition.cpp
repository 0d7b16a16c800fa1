#include "engine/common/TableDefinition.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <vector>

#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::engine {

namespace {

struct Token {
    enum class Kind { Word, QuotedName, String, Open, Close, Comma, Other };
    Kind kind;
    std::size_t begin;
    std::size_t end;
};

bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return std::isalnum(u) || c == '_' || c == '$' || u >= 0x80;
}

// Skips to the end of a quoted run that closes with `close`, a doubled `close` standing for one.
std::size_t endOfQuoted(std::string_view s, std::size_t p, char close) {
    ++p;
    while (p < s.size()) {
        if (s[p] == close) {
            if (close != ']' && p + 1 < s.size() && s[p + 1] == close) {
                p += 2;
                continue;
            }
            return p + 1;
        }
        ++p;
    }
    return s.size();
}

// Comments and blanks are dropped; everything else keeps its place in the source.
std::vector<Token> tokenize(std::string_view s) {
    std::vector<Token> tokens;
    std::size_t p = 0;
    while (p < s.size()) {
        const char c = s[p];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++p;
        } else if (c == '-' && p + 1 < s.size() && s[p + 1] == '-') {
            const std::size_t eol = s.find('\n', p);
            p = eol == std::string_view::npos ? s.size() : eol + 1;
        } else if (c == '/' && p + 1 < s.size() && s[p + 1] == '*') {
            const std::size_t close = s.find("*/", p + 2);
            p = close == std::string_view::npos ? s.size() : close + 2;
        } else if (c == '\'') {
            const std::size_t end = endOfQuoted(s, p, '\'');
            tokens.push_back({Token::Kind::String, p, end});
            p = end;
        } else if (c == '"' || c == '`' || c == '[') {
            const std::size_t end = endOfQuoted(s, p, c == '[' ? ']' : c);
            tokens.push_back({Token::Kind::QuotedName, p, end});
            p = end;
        } else if (isWordChar(c)) {
            std::size_t end = p;
            while (end < s.size() && isWordChar(s[end])) {
                ++end;
            }
            tokens.push_back({Token::Kind::Word, p, end});
            p = end;
        } else {
            const Token::Kind kind = c == '('   ? Token::Kind::Open
                                     : c == ')' ? Token::Kind::Close
                                     : c == ',' ? Token::Kind::Comma
                                                : Token::Kind::Other;
            tokens.push_back({kind, p, p + 1});
            ++p;
        }
    }
    return tokens;
}

std::string unquoted(std::string_view s, const Token& t) {
    const std::string_view text = s.substr(t.begin, t.end - t.begin);
    if (t.kind != Token::Kind::QuotedName || text.size() < 2) {
        return std::string(text);
    }
    const char close = text.front() == '[' ? ']' : text.front();
    std::string out;
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        out += text[i];
        if (text[i] == close && close != ']' && i + 2 < text.size() && text[i + 1] == close) {
            ++i;
        }
    }
    return out;
}

bool isWord(std::string_view s, const Token& t, std::string_view word) {
    return t.kind == Token::Kind::Word &&
           equalsIgnoringCase(s.substr(t.begin, t.end - t.begin), word);
}

bool startsConstraint(std::string_view s, const Token& t) {
    static constexpr std::array<std::string_view, 11> kWords = {
        "CONSTRAINT", "PRIMARY", "NOT",        "NULL",      "UNIQUE", "CHECK",
        "DEFAULT",    "COLLATE", "REFERENCES", "GENERATED", "AS"};
    return std::any_of(kWords.begin(), kWords.end(),
                       [&](std::string_view w) { return isWord(s, t, w); });
}

bool isTableConstraint(std::string_view s, const Token& t) {
    return isWord(s, t, "CONSTRAINT") || isWord(s, t, "PRIMARY") || isWord(s, t, "UNIQUE") ||
           isWord(s, t, "CHECK") || isWord(s, t, "FOREIGN");
}

// Index just past the parenthesised group that opens at `open`.
std::size_t pastGroup(const std::vector<Token>& tokens, std::size_t open, std::size_t limit) {
    int depth = 0;
    for (std::size_t i = open; i < limit; ++i) {
        if (tokens[i].kind == Token::Kind::Open) {
            ++depth;
        } else if (tokens[i].kind == Token::Kind::Close && --depth == 0) {
            return i + 1;
        }
    }
    return limit;
}

RuntimeError notAColumnList() {
    return {err::StoreError, "The table's definition cannot be changed column by column.", 1,
            "HY000"};
}

// The column definition tokens [first, last) with the declared type replaced and any COLLATE
// clause dropped.
std::string rewriteColumn(std::string_view s, const std::vector<Token>& tokens, std::size_t first,
                          std::size_t last, std::string_view newType) {
    std::string out(s.substr(tokens[first].begin, tokens[first].end - tokens[first].begin));
    out += ' ';
    out += newType;
    std::size_t i = first + 1;
    while (i < last && tokens[i].kind == Token::Kind::Word && !startsConstraint(s, tokens[i])) {
        ++i;
    }
    if (i < last && tokens[i].kind == Token::Kind::Open) {
        i = pastGroup(tokens, i, last);
    }
    while (i < last) {
        if (isWord(s, tokens[i], "COLLATE")) {
            i += 2;
            continue;
        }
        // Keep the constraint's source text up to the next COLLATE or the end of the column.
        std::size_t j = i;
        while (j < last && !isWord(s, tokens[j], "COLLATE")) {
            if (tokens[j].kind == Token::Kind::Open) {
                j = pastGroup(tokens, j, last);
            } else {
                ++j;
            }
        }
        out += ' ';
        out += s.substr(tokens[i].begin, tokens[j - 1].end - tokens[i].begin);
        i = j;
    }
    return out;
}

}  // namespace

std::string quoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (const char c : name) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    out += '"';
    return out;
}

std::optional<std::string> createWithColumnType(std::string_view createSql,
                                                std::string_view newTableName,
                                                std::string_view column, std::string_view newType) {
    const std::string_view s = createSql;
    const std::vector<Token> tokens = tokenize(s);
    std::size_t open = 0;
    while (open < tokens.size() && tokens[open].kind != Token::Kind::Open) {
        if (isWord(s, tokens[open], "AS")) {
            throw notAColumnList();
        }
        ++open;
    }
    if (open == tokens.size()) {
        throw notAColumnList();
    }
    std::size_t close = open;
    for (int depth = 0; close < tokens.size(); ++close) {
        if (tokens[close].kind == Token::Kind::Open) {
            ++depth;
        } else if (tokens[close].kind == Token::Kind::Close && --depth == 0) {
            break;
        }
    }
    if (close == tokens.size()) {
        throw notAColumnList();  // the column list never closes
    }
    ++close;
    const std::size_t bodyEnd = close - 1;  // the closing parenthesis

    std::vector<std::string> pieces;
    bool found = false;
    std::size_t first = open + 1;
    while (first < bodyEnd) {
        std::size_t last = first;
        while (last < bodyEnd && tokens[last].kind != Token::Kind::Comma) {
            last = tokens[last].kind == Token::Kind::Open ? pastGroup(tokens, last, bodyEnd)
                                                          : last + 1;
        }
        if (last == first) {
            throw notAColumnList();
        }
        const bool isColumn = !isTableConstraint(s, tokens[first]);
        if (isColumn && !found && equalsIgnoringCase(unquoted(s, tokens[first]), column)) {
            pieces.push_back(rewriteColumn(s, tokens, first, last, newType));
            found = true;
        } else {
            pieces.emplace_back(
                s.substr(tokens[first].begin, tokens[last - 1].end - tokens[first].begin));
        }
        first = last + 1;
    }
    if (!found) {
        return std::nullopt;
    }
    std::string out = "CREATE TABLE ";
    out += newTableName;
    out += " (";
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        out += i == 0 ? "\n    " : ",\n    ";
        out += pieces[i];
    }
    out += "\n)";
    if (close < tokens.size()) {
        // Table options after the column list (WITHOUT ROWID, STRICT).
        out += ' ';
        out += s.substr(tokens[close].begin, tokens.back().end - tokens[close].begin);
    }
    return out;
}

}  // namespace quillet::engine
