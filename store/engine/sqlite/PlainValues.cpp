#include "engine/sqlite/PlainValues.h"

#include <charconv>

namespace quillet::sqlite {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int digitsValue(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

std::optional<BoundValue> plainDecimal(std::string_view literal) {
    std::size_t p = literal.size() > 0 && literal[0] == '-' ? 1 : 0;
    std::size_t digits = 0;
    bool point = false;
    for (; p < literal.size(); ++p) {
        if (isDigit(literal[p])) {
            ++digits;
        } else if (literal[p] == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    // Fifteen digits at most: the value is finite, and a whole one fits 64 bits.
    if (digits == 0 || digits > 15) {
        return std::nullopt;
    }
    const char* first = literal.data();
    const char* last = literal.data() + literal.size();
    if (!point) {
        long long whole = 0;
        const auto [end, ec] = std::from_chars(first, last, whole);
        if (ec == std::errc() && end == last) {
            return BoundValue{whole};
        }
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] = std::from_chars(first, last, value);
    if (ec == std::errc() && end == last) {
        return BoundValue{value};
    }
    return std::nullopt;
}

std::optional<Date> plainIsoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    for (const std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
    }
    Date date;
    date.year = digitsValue(text.substr(0, 4));
    date.month = digitsValue(text.substr(5, 2));
    date.day = digitsValue(text.substr(8, 2));
    if (!isValidDate(date.year, date.month, date.day)) {
        return std::nullopt;
    }
    return date;
}

}  // namespace quillet::sqlite
