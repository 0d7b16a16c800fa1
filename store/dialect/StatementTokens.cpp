#include "dialect/StatementTokens.h"

namespace quillet::dialect {

namespace {

// NOTE: the Access dialect has no comments, but the engine reads "--" and "/*" as their start;
// "5--3" (five minus minus three) must not lose its tail.
bool startsComment(char last, char first) {
    return (last == '-' && first == '-') || (last == '/' && first == '*');
}

// A #date# written right after a name or a literal is a syntax error in the dialect; as a text
// literal glued to them, the engine could read one blob (x'..') or one longer text instead.
bool gluesToLiteral(char last) {
    return last == '\'' || last == '"' || last == ']' ||
           isNameByte(static_cast<unsigned char>(last));
}

}  // namespace

void appendSql(std::string& out, std::string_view text) {
    if (text.empty()) {
        return;
    }
    if (!out.empty() && startsComment(out.back(), text.front())) {
        out.push_back(' ');
    }
    out.append(text);
}

void appendDateLiteral(std::string& out, const Date& date) {
    if (!out.empty() && gluesToLiteral(out.back())) {
        out.push_back(' ');
    }
    out.push_back('\'');
    out.append(formatIsoDate(date));
    out.push_back('\'');
}

StatementTokens::StatementTokens(std::vector<Token> tokens) : m_tokens(std::move(tokens)) {
    m_end = m_tokens.size();
    while (m_begin < m_end && m_tokens[m_begin].kind == TokenKind::Space) {
        ++m_begin;
    }
    while (m_end > m_begin &&
           (m_tokens[m_end - 1].kind == TokenKind::Space ||
            (m_tokens[m_end - 1].kind == TokenKind::Symbol && m_tokens[m_end - 1].text == ";"))) {
        --m_end;
    }
}

std::size_t StatementTokens::next(std::size_t i) const {
    while (i < m_end && m_tokens[i].kind == TokenKind::Space) {
        ++i;
    }
    return i < m_end ? i : m_end;
}

bool StatementTokens::isWord(std::size_t i, std::string_view keyword) const {
    return i < m_end && isKeyword(m_tokens[i], keyword);
}

bool StatementTokens::isSymbol(std::size_t i, char symbol) const {
    return i < m_end && m_tokens[i].kind == TokenKind::Symbol && m_tokens[i].text.size() == 1 &&
           m_tokens[i].text.front() == symbol;
}

bool StatementTokens::isName(std::size_t i) const {
    if (i >= m_end) {
        return false;
    }
    const TokenKind kind = m_tokens[i].kind;
    return kind == TokenKind::Word || kind == TokenKind::BracketName ||
           kind == TokenKind::QuotedName;
}

std::size_t StatementTokens::nameEnd(std::size_t i) const {
    if (!isName(i)) {
        return i;
    }
    std::size_t end = i + 1;
    while (isSymbol(end, '.') && isName(end + 1)) {
        end += 2;
    }
    return end;
}

std::size_t StatementTokens::closing(std::size_t open, std::size_t limit) const {
    int depth = 0;
    for (std::size_t i = open; i < limit; ++i) {
        if (isSymbol(i, '(')) {
            ++depth;
        } else if (isSymbol(i, ')') && --depth == 0) {
            return i;
        }
    }
    return limit;
}

std::size_t StatementTokens::findWordAtTop(std::size_t from, std::size_t limit,
                                           std::initializer_list<std::string_view> keywords) const {
    int depth = 0;
    for (std::size_t i = from; i < limit; ++i) {
        if (isSymbol(i, '(')) {
            ++depth;
        } else if (isSymbol(i, ')')) {
            --depth;
        } else if (depth == 0 && m_tokens[i].kind == TokenKind::Word) {
            for (const std::string_view keyword : keywords) {
                if (isKeyword(m_tokens[i], keyword)) {
                    return i;
                }
            }
        }
    }
    return limit;
}

std::vector<TokenRange> StatementTokens::splitAtCommas(std::size_t first, std::size_t last) const {
    std::vector<TokenRange> parts;
    auto addPart = [&](std::size_t b, std::size_t e) {
        b = next(b);
        b = b < e ? b : e;
        while (e > b && m_tokens[e - 1].kind == TokenKind::Space) {
            --e;
        }
        parts.emplace_back(b, e);
    };
    int depth = 0;
    std::size_t start = first;
    for (std::size_t i = first; i < last; ++i) {
        if (isSymbol(i, '(')) {
            ++depth;
        } else if (isSymbol(i, ')')) {
            --depth;
        } else if (depth == 0 && isSymbol(i, ',')) {
            addPart(start, i);
            start = i + 1;
        }
    }
    addPart(start, last);
    return parts;
}

std::string StatementTokens::render(std::size_t first, std::size_t last,
                                    const std::vector<Edit>& edits) const {
    std::string out;
    if (first < last) {
        const std::string_view lastText = m_tokens[last - 1].text;
        out.reserve(static_cast<std::size_t>(lastText.data() + lastText.size() -
                                             m_tokens[first].text.data()) +
                    16);
    }
    std::size_t e = 0;
    for (std::size_t i = first; i < last;) {
        if (e < edits.size() && edits[e].begin == i) {
            appendSql(out, edits[e].text);
            i = edits[e].end;
            ++e;
            continue;
        }
        const Token& token = m_tokens[i];
        if (token.kind == TokenKind::DateLiteral) {
            appendDateLiteral(out, token.date);
        } else {
            appendSql(out, token.text);
        }
        ++i;
    }
    return out;
}

}  // namespace quillet::dialect
