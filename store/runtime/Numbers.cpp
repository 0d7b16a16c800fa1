#include "runtime/Numbers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

constexpr std::array<long long, 12> kPowersOfTen = {
    1LL,       10LL,       100LL,       1000LL,       10000LL,       100000LL,
    1000000LL, 10000000LL, 100000000LL, 1000000000LL, 10000000000LL, 100000000000LL};

// The power of ten of the leading significant digit of an unsigned number in our grammar
// ("123.4" 2, "0.05" -2, "5e-3" -3). Only its sign matters to the caller, so a huge exponent
// is clamped instead of overflowing.
long decimalMagnitude(std::string_view number) {
    constexpr long kClamp = 1'000'000;
    const std::size_t ePos = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, ePos);
    long exponent = 0;
    if (ePos != std::string_view::npos) {
        std::string_view digits = number.substr(ePos + 1);
        const bool negativeExponent = digits.starts_with('-');
        if (digits.starts_with('-') || digits.starts_with('+')) {
            digits.remove_prefix(1);
        }
        for (const char c : digits) {
            exponent = std::min(exponent * 10 + (c - '0'), kClamp);
        }
        exponent = negativeExponent ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos) {
        return 0;  // zero fits whatever its exponent
    }
    const long position =
        first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    return position + exponent;
}

}  // namespace

std::optional<double> parseNumber(std::string_view text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && isBlank(text[i])) {
        ++i;
    }
    std::size_t end = n;
    while (end > i && isBlank(text[end - 1])) {
        --end;
    }
    const std::string_view body = text.substr(i, end - i);
    if (body.empty()) {
        return std::nullopt;
    }
    // Validate against our grammar first; from_chars accepts forms we do not (inf, nan, hex).
    std::size_t p = 0;
    bool negative = false;
    if (body[p] == '+' || body[p] == '-') {
        negative = body[p] == '-';
        ++p;
    }
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    const std::size_t mantissaStart = p;
    while (p < body.size() && isDigit(body[p])) {
        ++p;
        ++intDigits;
    }
    if (p < body.size() && body[p] == '.') {
        ++p;
        while (p < body.size() && isDigit(body[p])) {
            ++p;
            ++fracDigits;
        }
    }
    if (intDigits + fracDigits == 0) {
        return std::nullopt;
    }
    if (p < body.size() && (body[p] == 'e' || body[p] == 'E')) {
        ++p;
        if (p < body.size() && (body[p] == '+' || body[p] == '-')) {
            ++p;
        }
        std::size_t expDigits = 0;
        while (p < body.size() && isDigit(body[p])) {
            ++p;
            ++expDigits;
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (p != body.size()) {
        return std::nullopt;
    }
    const std::string_view mantissaAndExp = body.substr(mantissaStart);
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(mantissaAndExp.data(), mantissaAndExp.data() + mantissaAndExp.size(), value,
                        std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // NOTE: from_chars leaves value unchanged out of range. The value's own size decides:
        // too small for a double reads as zero, too large is not a number, however the text
        // spells it ("1000...0e-1" is large, "0.000...01" is small).
        if (decimalMagnitude(mantissaAndExp) > 0) {
            return std::nullopt;
        }
        return negative ? -0.0 : 0.0;
    }
    if (ec != std::errc{} || ptr != mantissaAndExp.data() + mantissaAndExp.size() ||
        !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

bool numberLiteralOverflows(std::string_view literal) {
    constexpr std::size_t kMostDigitsThatFit = 308;
    if (literal.find_first_of("eE") == std::string_view::npos &&
        literal.size() <= kMostDigitsThatFit) {
        return false;
    }
    return !parseNumber(literal).has_value();
}

double roundToWholeHalfEven(double x) {
    return wholeHalfEven(x);
}

double roundHalfEven(double x, int decimals) {
    if (decimals < 0) {
        throw RuntimeError::invalidProcedureCall();
    }
    if (!std::isfinite(x)) {
        return x;
    }
    if (decimals == 0) {
        return wholeHalfEven(x);
    }
    static constexpr std::array<double, 23> powers = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const double scale =
        decimals < static_cast<int>(powers.size()) ? powers[decimals] : std::pow(10.0, decimals);
    const double scaled = x * scale;
    // Beyond 2^52 every double is already whole at this scale: nothing to round.
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) {
        return x;
    }
    return wholeHalfEven(scaled) / scale;
}

std::int16_t toInteger16(double x) {
    if (std::isnan(x)) {
        throw RuntimeError::overflow();
    }
    const double r = wholeHalfEven(x);
    if (r < -32768.0 || r > 32767.0) {
        throw RuntimeError::overflow();
    }
    return static_cast<std::int16_t>(r);
}

std::int32_t toLong32(double x) {
    if (std::isnan(x)) {
        throw RuntimeError::overflow();
    }
    const double r = wholeHalfEven(x);
    if (r < -2147483648.0 || r > 2147483647.0) {
        throw RuntimeError::overflow();
    }
    return static_cast<std::int32_t>(r);
}

void appendGeneral(std::string& out, double x) {
    if (x == 0.0) {
        out.push_back('0');  // also for -0.0: never "-0"
        return;
    }
    char buf[40];
    // Whole numbers below 10^15 are the common case (money rounded to 0 decimals): print them
    // as integers, which is what the 15-digit general form gives for them anyway.
    if (std::fabs(x) < 1e15 && x == std::trunc(x)) {
        const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(x));
        out.append(buf, ptr);
        return;
    }
    const auto [ptr, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
    std::string_view text(buf, static_cast<std::size_t>(ptr - buf));
    // to_chars' general form keeps no trailing zeros already; only "-0" from a value that
    // rounds to zero at 15 digits is impossible here since x != 0. Normalise the exponent form
    // to the classic one: "1E+20", "1E-07" -> we keep "1E+20" and "1E-07".
    const auto ePos = text.find('e');
    if (ePos == std::string_view::npos) {
        out.append(text);
        return;
    }
    out.append(text.substr(0, ePos));
    out.push_back('E');
    std::string_view exp = text.substr(ePos + 1);
    char sign = '+';
    if (!exp.empty() && (exp[0] == '+' || exp[0] == '-')) {
        sign = exp[0];
        exp.remove_prefix(1);
    }
    out.push_back(sign);
    if (exp.size() < 2) {
        out.push_back('0');
    }
    out.append(exp);
}

void appendRoundedGeneral(std::string& out, double x, int decimals) {
    appendRoundedGeneral(out, x, decimals, std::pow(10.0, decimals));
}

void appendRoundedGeneral(std::string& out, double x, int decimals, double scale) {
    if (decimals < 0) {
        throw RuntimeError::invalidProcedureCall();
    }
    if (decimals == 0 || decimals > 15 || !std::isfinite(x)) {
        appendGeneral(out, roundHalfEven(x, decimals));
        return;
    }
    const double scaled = x * scale;
    if (!(std::fabs(scaled) < 1e15)) {
        appendGeneral(out, roundHalfEven(x, decimals));
        return;
    }
    // NOTE: the rounded value is k / 10^d for a whole k of at most 15 digits. Division is
    // correctly rounded, and 15 significant digits survive a round trip through a double, so the
    // general form of k / 10^d is exactly k's digits with the point put back: no need to format
    // the double.
    long long k = static_cast<long long>(wholeHalfEven(scaled));
    // Below 1E-04 the general form switches to the exponent form ("1E-05", "1.23E-05"), which
    // this digit copy does not write: k < 10^(decimals - 4) is exactly that case.
    if (k != 0 && decimals > 4 && std::llabs(k) < kPowersOfTen[decimals - 4]) {
        appendGeneral(out, roundHalfEven(x, decimals));
        return;
    }
    if (k == 0) {
        out.push_back('0');
        return;
    }
    if (k < 0) {
        out.push_back('-');
        k = -k;
    }
    char digits[24];
    int n = 0;
    while (k > 0) {
        digits[n++] = static_cast<char>('0' + k % 10);
        k /= 10;
    }
    // Drop trailing zeros of the fraction.
    int fraction = decimals;
    int low = 0;
    while (fraction > 0 && digits[low] == '0') {
        ++low;
        --fraction;
    }
    if (n <= decimals) {
        // No whole part: 0.00ddd
        out.append("0.");
        out.append(static_cast<std::size_t>(decimals - n), '0');
        for (int i = n - 1; i >= low; --i) {
            out.push_back(digits[i]);
        }
        return;
    }
    for (int i = n - 1; i >= low; --i) {
        if (i == decimals - 1) {
            out.push_back('.');
        }
        out.push_back(digits[i]);
    }
}

std::string formatGeneral(double x) {
    std::string out;
    appendGeneral(out, x);
    return out;
}

}  // namespace quillet
