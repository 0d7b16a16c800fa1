#include "dialect/Tokenizer.h"

#include "dialect/DialectError.h"
#include "dialect/Lexing.h"
#include "runtime/Numbers.h"

namespace quillet::dialect {

namespace {

using lexing::isNameStart;
using lexing::isSpace;

unsigned char upper(unsigned char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : m_text(text) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        // Most statements average a little more than three bytes per token.
        tokens.reserve(m_text.size() / 3 + 4);
        while (m_pos < m_text.size()) {
            tokens.push_back(next());
        }
        return tokens;
    }

private:
    unsigned char at(std::size_t i) const {
        return i < m_text.size() ? static_cast<unsigned char>(m_text[i]) : '\0';
    }

    Token make(TokenKind kind, std::size_t start) const {
        return Token{kind, m_text.substr(start, m_pos - start), Date{}};
    }

    Token next() {
        const std::size_t start = m_pos;
        const unsigned char c = at(m_pos);
        if (isSpace(c)) {
            while (m_pos < m_text.size() && isSpace(at(m_pos))) {
                ++m_pos;
            }
            return make(TokenKind::Space, start);
        }
        if (isNameStart(c)) {
            while (m_pos < m_text.size() && isNameByte(at(m_pos))) {
                ++m_pos;
            }
            return make(TokenKind::Word, start);
        }
        if (lexing::startsNumber(m_text, m_pos)) {
            scanNumber();
            refuseOverflow(m_text.substr(start, m_pos - start));
            return make(TokenKind::Number, start);
        }
        switch (c) {
            case '\'':
                scanString();
                return make(TokenKind::String, start);
            case '[':
                scanBracketName();
                return make(TokenKind::BracketName, start);
            case '"':
                scanQuotedName();
                return make(TokenKind::QuotedName, start);
            case '#':
                return scanDate();
            default:
                scanSymbol();
                return make(TokenKind::Symbol, start);
        }
    }

    // NOTE: the engine reads a literal beyond the double range as infinity and would store it;
    // Access refuses such a literal, and so do we.
    static void refuseOverflow(std::string_view literal) {
        if (numberLiteralOverflows(literal)) {
            raiseDialectError("Overflow: the number " + excerpt(literal) + " is too large.");
        }
    }

    void scanNumber() { m_pos = lexing::numberEnd(m_text, m_pos); }

    void scanString() {
        const std::size_t end = lexing::stringEnd(m_text, m_pos);
        if (end == std::string_view::npos) {
            raiseDialectError("Syntax error: unterminated text literal " +
                              excerpt(m_text.substr(m_pos)));
        }
        m_pos = end;
    }

    void scanBracketName() { m_pos = lexing::bracketNameEnd(m_text, m_pos); }

    void scanQuotedName() { m_pos = lexing::quotedNameEnd(m_text, m_pos); }

    Token scanDate() {
        const std::size_t start = m_pos;
        const std::size_t close = m_text.find('#', start + 1);
        if (close == std::string_view::npos) {
            raiseDialectError("Syntax error: unterminated date literal " +
                              excerpt(m_text.substr(start)));
        }
        const std::string_view content = m_text.substr(start + 1, close - start - 1);
        m_pos = close + 1;
        if (content.find_first_not_of(" \t") == std::string_view::npos) {
            raiseDialectError("Syntax error in date: empty date literal " +
                              std::string(m_text.substr(start, m_pos - start)));
        }
        const auto date = parseDate(content);
        if (!date) {
            raiseDialectError("Syntax error in date: #" + excerpt(content) +
                              "# is not a valid date");
        }
        Token token = make(TokenKind::DateLiteral, start);
        token.date = *date;
        return token;
    }

    void scanSymbol() {
        static constexpr std::string_view kPairs[] = {
            "<=", ">=", "<>", "!=", "==", "||", "<<", ">>"};
        for (const std::string_view pair : kPairs) {
            if (m_text.substr(m_pos, 2) == pair) {
                m_pos += 2;
                return;
            }
        }
        ++m_pos;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

}  // namespace

bool isNameByte(unsigned char c) {
    return lexing::isNameByte(c);
}

std::vector<Token> tokenize(std::string_view statement) {
    return Scanner(statement).run();
}

bool isKeyword(const Token& token, std::string_view keyword) {
    if (token.kind != TokenKind::Word || token.text.size() != keyword.size()) {
        return false;
    }
    for (std::size_t i = 0; i < keyword.size(); ++i) {
        if (upper(static_cast<unsigned char>(token.text[i])) !=
            static_cast<unsigned char>(keyword[i])) {
            return false;
        }
    }
    return true;
}

std::string unquoteString(std::string_view literal) {
    std::string value;
    value.reserve(literal.size());
    lexing::appendUnquoted(value, literal);
    return value;
}

std::string nameOf(const Token& token) {
    const std::string_view text = token.text;
    if (token.kind == TokenKind::BracketName) {
        const bool closed = text.size() >= 2 && text.back() == ']';
        return std::string(text.substr(1, text.size() - (closed ? 2 : 1)));
    }
    if (token.kind == TokenKind::QuotedName) {
        const bool closed = text.size() >= 2 && text.back() == '"';
        const std::string_view body = text.substr(1, text.size() - (closed ? 2 : 1));
        std::string name;
        for (std::size_t i = 0; i < body.size(); ++i) {
            name.push_back(body[i]);
            if (body[i] == '"' && i + 1 < body.size() && body[i + 1] == '"') {
                ++i;
            }
        }
        return name;
    }
    return std::string(text);
}

}  // namespace quillet::dialect
