#include "engine/common/PlainValues.h"

#include <charconv>

namespace quillet::engine {

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

bool assignPlainDayFirstDate(std::string_view text, std::string& out) {
    if (text.size() != 10 && text.size() != 11) {
        return false;
    }
    const char separator = text[2];
    const std::size_t yearAt = text.size() - 4;
    if ((separator != '/' && separator != '-') || text[yearAt - 1] != separator ||
        !isDigit(text[0]) || !isDigit(text[1])) {
        return false;
    }
    const std::string_view monthText = text.substr(3, yearAt - 4);
    int month = 0;
    if (monthText.size() == 2 && isDigit(monthText[0]) && isDigit(monthText[1])) {
        month = digitsValue(monthText);
    } else {
        for (int m = 1; m <= 12 && month == 0; ++m) {
            month = monthAbbreviation(m) == monthText ? m : 0;
        }
    }
    const std::string_view year = text.substr(yearAt);
    for (const char c : year) {
        if (!isDigit(c)) {
            return false;
        }
    }
    const int day = digitsValue(text.substr(0, 2));
    if (!isValidDate(digitsValue(year), month, day)) {
        return false;
    }
    out.assign(year);
    out.push_back('-');
    out.push_back(static_cast<char>('0' + month / 10));
    out.push_back(static_cast<char>('0' + month % 10));
    out.push_back('-');
    out.append(text.substr(0, 2));
    return true;
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

}  // namespace quillet::engine
