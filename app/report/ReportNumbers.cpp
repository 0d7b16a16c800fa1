#include "report/ReportNumbers.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <string>

#include "runtime/Numbers.h"

namespace quillet {

namespace {

// Beyond this a double has no fractional digits worth writing; the general form says it better.
constexpr double kLargestFixed = 1e21;

constexpr int kMostCountedDecimals = 15;

bool multiplyByTen(long long& value, int times) {
    for (int i = 0; i < times; ++i) {
        if (value > LLONG_MAX / 10 || value < LLONG_MIN / 10) {
            return false;
        }
        value *= 10;
    }
    return true;
}

std::string grouped(std::string_view digits) {
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            out.push_back(',');
        }
        out.push_back(digits[i]);
    }
    return out;
}

/// Joins a sign, the integer digits and exactly the decimals given; "-" is dropped from zero.
std::string assemble(bool negative, std::string_view whole, std::string fraction, int decimals,
                     bool group) {
    fraction.resize(static_cast<std::size_t>(decimals), '0');
    const bool zero = whole.find_first_not_of('0') == std::string_view::npos &&
                      fraction.find_first_not_of('0') == std::string::npos;
    std::string out = negative && !zero ? "-" : "";
    out += group ? grouped(whole) : std::string(whole);
    if (decimals > 0) {
        out.push_back('.');
        out += fraction;
    }
    return out;
}

/// formatFixed from the rounded double's own shortest digits: for figures beyond a 15-digit
/// count of units.
std::string fixedFromDigits(double x, int decimals, bool group) {
    if (!std::isfinite(x) || std::fabs(x) >= kLargestFixed || decimals < 0) {
        return formatGeneral(x);
    }
    const double rounded = roundHalfEven(x, decimals);
    // The shortest text that reads back as the rounded value: a rounded 4803.4 is "4803.4",
    // never the binary expansion 4803.39999999999963620.
    char buffer[64];
    auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded), std::chars_format::fixed);
    if (ec != std::errc()) {
        return formatGeneral(x);
    }
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    const std::size_t point = text.find('.');
    std::string fraction(point == std::string_view::npos ? "" : text.substr(point + 1));
    if (fraction.size() > static_cast<std::size_t>(decimals)) {
        // More digits than asked only where decimals exceed what a double holds exactly.
        auto [end2, ec2] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rounded),
                                         std::chars_format::fixed, decimals);
        if (ec2 != std::errc()) {
            return formatGeneral(x);
        }
        text = std::string_view(buffer, static_cast<std::size_t>(end2 - buffer));
        const std::size_t p = text.find('.');
        fraction = p == std::string_view::npos ? "" : std::string(text.substr(p + 1));
        return assemble(rounded < 0, text.substr(0, p), fraction, decimals, group);
    }
    return assemble(rounded < 0, text.substr(0, point), fraction, decimals, group);
}

}  // namespace

void appendUnits(std::string& out, long long units, int decimals, bool group) {
    unsigned long long magnitude = units < 0 ? 0ULL - static_cast<unsigned long long>(units)
                                             : static_cast<unsigned long long>(units);
    if (decimals < 0 || decimals > kMostCountedDecimals) {
        // Not a count shownUnits makes: the plain way, which takes any decimals.
        const int places = std::max(decimals, 0);
        std::string whole = std::to_string(magnitude);
        whole.insert(0,
                     whole.size() <= static_cast<std::size_t>(places)
                         ? static_cast<std::size_t>(places) + 1 - whole.size()
                         : 0,
                     '0');
        const std::string fraction = whole.substr(whole.size() - static_cast<std::size_t>(places));
        whole.resize(whole.size() - static_cast<std::size_t>(places));
        out += assemble(units < 0, whole, fraction, places, group);
        return;
    }
    // Digits from the last: at least one whole digit before the decimals.
    char digits[32];
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude > 0);
    while (count <= decimals) {
        digits[count++] = '0';
    }
    if (units < 0) {
        out.push_back('-');
    }
    for (int i = count - 1; i >= decimals; --i) {
        out.push_back(digits[i]);
        const int wholeDigitsLeft = i - decimals;
        if (group && wholeDigitsLeft > 0 && wholeDigitsLeft % 3 == 0) {
            out.push_back(',');
        }
    }
    if (decimals > 0) {
        out.push_back('.');
        for (int i = decimals - 1; i >= 0; --i) {
            out.push_back(digits[i]);
        }
    }
}

std::string formatFixed(double x, int decimals, bool group) {
    std::string out;
    appendFixed(out, x, decimals, group);
    return out;
}

void appendFixed(std::string& out, double x, int decimals, bool group) {
    if (const auto units = shownUnits(x, decimals)) {
        appendUnits(out, *units, decimals, group);
        return;
    }
    out += fixedFromDigits(x, decimals, group);
}

int decimalsShown(std::string_view text) {
    if (text.find_first_of("eE") != std::string_view::npos) {
        return 0;
    }
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) {
        return 0;
    }
    std::size_t end = point + 1;
    while (end < text.size() && text[end] >= '0' && text[end] <= '9') {
        ++end;
    }
    return static_cast<int>(end - point - 1);
}

std::optional<long long> scaledUnits(std::string_view text, int decimals) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long units = 0;
    bool digits = false;
    int fractionDigits = -1;  // -1 before the point
    for (const char c : text) {
        if (c == ',' && fractionDigits < 0 && digits) {
            continue;
        }
        if (c == '.' && fractionDigits < 0) {
            fractionDigits = 0;
            continue;
        }
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        if (fractionDigits >= 0 && ++fractionDigits > decimals) {
            return std::nullopt;
        }
        const int digit = c - '0';
        if (!multiplyByTen(units, 1) || units > LLONG_MAX - digit) {
            return std::nullopt;
        }
        units += digit;
        digits = true;
    }
    if (!digits || !multiplyByTen(units, decimals - std::max(fractionDigits, 0))) {
        return std::nullopt;
    }
    return negative ? -units : units;
}

bool ShownSum::rescale(int decimals) {
    if (decimals <= m_decimals) {
        return true;
    }
    if (m_exact && !multiplyByTen(m_units, decimals - m_decimals)) {
        m_exact = false;
    }
    m_decimals = decimals;
    return true;
}

bool ShownSum::add(std::string_view text) {
    if (!m_valid || text.empty()) {
        return m_valid;
    }
    std::string plain(text);
    std::erase(plain, ',');
    const auto value = parseNumber(plain);
    if (!value) {
        m_valid = false;
        return false;
    }
    m_approximate += *value;
    rescale(decimalsShown(plain));
    if (m_exact) {
        const auto units = scaledUnits(plain, m_decimals);
        if (!units || (*units > 0 && m_units > LLONG_MAX - *units) ||
            (*units < 0 && m_units < LLONG_MIN - *units)) {
            m_exact = false;
        } else {
            m_units += *units;
        }
    }
    return true;
}

std::string ShownSum::text(std::optional<int> fixedDecimals, bool group) const {
    if (!m_valid) {
        return {};
    }
    const int decimals = fixedDecimals ? *fixedDecimals : m_decimals;
    if (!m_exact || decimals < m_decimals) {
        // The figures no longer fit a 64-bit count of their units: rounded at the end instead.
        const double sum = roundHalfEven(m_approximate, decimals);
        return fixedDecimals ? formatFixed(sum, decimals, group) : formatGeneral(sum);
    }
    const unsigned long long magnitude = m_units < 0
                                             ? 0ULL - static_cast<unsigned long long>(m_units)
                                             : static_cast<unsigned long long>(m_units);
    std::string digits = std::to_string(magnitude);
    if (digits.size() <= static_cast<std::size_t>(m_decimals)) {
        digits.insert(0, static_cast<std::size_t>(m_decimals) - digits.size() + 1, '0');
    }
    const std::size_t split = digits.size() - static_cast<std::size_t>(m_decimals);
    std::string fraction = digits.substr(split);
    if (!fixedDecimals) {
        // The general form: no trailing zeros.
        while (!fraction.empty() && fraction.back() == '0') {
            fraction.pop_back();
        }
        return assemble(m_units < 0, digits.substr(0, split), fraction,
                        static_cast<int>(fraction.size()), false);
    }
    return assemble(m_units < 0, digits.substr(0, split), fraction, decimals, group);
}

}  // namespace quillet
