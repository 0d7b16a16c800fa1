#pragma once
/// \file
/// \brief How the Access dialect reads its bytes: where a name, a number, a 'text' literal or a
/// quoted name ends. The tokenizer and the engine's statement-shape cache both read statements
/// with these, so a statement splits alike wherever it is read.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet::dialect::lexing {

inline bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

inline bool isSpace(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

/// Bytes of multi-byte UTF-8 sequences count as letters, so names in any script are names.
inline bool isNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c >= 0x80;
}

/// A byte that may continue a bare name.
inline bool isNameByte(unsigned char c) {
    return isNameStart(c) || isDigit(c) || c == '$';
}

/// True when a number starts at pos: a digit, or "." followed by one.
inline bool startsNumber(std::string_view text, std::size_t pos) {
    const auto at = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : '\0';
    };
    return isDigit(at(pos)) || (at(pos) == '.' && isDigit(at(pos + 1)));
}

/// \brief Where the unsigned number starting at start ends: 12, 1.5, .5, 5., 1e3, 2.5E-3. An "e"
/// without exponent digits is not part of the number.
inline std::size_t numberEnd(std::string_view text, std::size_t start) {
    const auto at = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : '\0';
    };
    std::size_t p = start;
    while (isDigit(at(p))) {
        ++p;
    }
    if (at(p) == '.') {
        ++p;
        while (isDigit(at(p))) {
            ++p;
        }
    }
    if (at(p) == 'e' || at(p) == 'E') {
        std::size_t q = p + 1;
        if (at(q) == '+' || at(q) == '-') {
            ++q;
        }
        if (isDigit(at(q))) {
            while (isDigit(at(q))) {
                ++q;
            }
            p = q;
        }
    }
    return p;
}

/// \brief Where the 'text' literal starting at start (its opening apostrophe) ends, just after
/// its closing one; an apostrophe inside is written twice. npos when it is not closed.
inline std::size_t stringEnd(std::string_view text, std::size_t start) {
    std::size_t p = start + 1;
    while (true) {
        const std::size_t close = text.find('\'', p);
        if (close == std::string_view::npos) {
            return std::string_view::npos;
        }
        if (close + 1 < text.size() && text[close + 1] == '\'') {
            p = close + 2;
            continue;
        }
        return close + 1;
    }
}

/// \brief Where the "quoted name" starting at start ends, just after its closing quote; a quote
/// inside is written twice. An unclosed one runs to the end of the text.
inline std::size_t quotedNameEnd(std::string_view text, std::size_t start) {
    std::size_t p = start + 1;
    while (p < text.size()) {
        const std::size_t close = text.find('"', p);
        if (close == std::string_view::npos) {
            break;
        }
        if (close + 1 < text.size() && text[close + 1] == '"') {
            p = close + 2;
            continue;
        }
        return close + 1;
    }
    return text.size();
}

/// \brief Where the [bracketed name] starting at start ends; an unclosed one runs to the end.
inline std::size_t bracketNameEnd(std::string_view text, std::size_t start) {
    const std::size_t close = text.find(']', start + 1);
    return close == std::string_view::npos ? text.size() : close + 1;
}

/// \brief Appends the content of a 'text' literal (delimiters included in literal) with doubled
/// apostrophes made single.
inline void appendUnquoted(std::string& out, std::string_view literal) {
    if (literal.size() < 2) {
        return;
    }
    const std::string_view body = literal.substr(1, literal.size() - 2);
    for (std::size_t i = 0; i < body.size(); ++i) {
        out.push_back(body[i]);
        if (body[i] == '\'' && i + 1 < body.size() && body[i + 1] == '\'') {
            ++i;
        }
    }
}

}  // namespace quillet::dialect::lexing
