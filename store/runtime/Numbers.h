#pragma once
/// \file
/// \brief The classic BASIC number rules: the numeric test, conversions, rounding and the general
/// number form. One grammar decides both the test and the conversion, so they never disagree.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include "quillet_store_export.h"

namespace quillet {

/// \brief Reads a number: optional blanks, optional sign, digits with at most one decimal point
/// ("5." and ".5" count), optional exponent, optional blanks. Nothing else: no grouping, no
/// currency, no hex, no inf/nan, nothing that overflows a double.
QUILLET_STORE_INTERNAL std::optional<double> parseNumber(std::string_view text);
inline bool isNumeric(std::string_view text) {
    return parseNumber(text).has_value();
}

/// \brief True for a number literal (digits, point, exponent) whose value lies beyond the double
/// range. Only a literal with an exponent or more digits than that range holds can overflow, so
/// the usual ones are not read at all: this is cheap enough for every literal of a statement.
QUILLET_STORE_INTERNAL bool numberLiteralOverflows(std::string_view literal);

/// Nearest whole number, exact halves to the even neighbour. Inline: it runs for every figure.
inline double wholeHalfEven(double x) {
    // NOTE: std::round sends halves away from zero and nearbyint depends on the process's
    // rounding mode; the classic runtime always sends exact halves to the even neighbour.
    const double lower = std::floor(x);
    const double diff = x - lower;
    // A select rather than branches: which way a figure goes is as good as random, and a
    // mispredicted branch per figure would cost more than the rounding itself.
    const double nearest = lower + (diff > 0.5 ? 1.0 : 0.0);
    if (diff == 0.5) [[unlikely]] {
        return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
    }
    return nearest;
}

/// True when the process rounds to nearest, the default mode, which wholeHalfEvenNearest needs.
inline bool roundsToNearest() {
    return std::fegetround() == FE_TONEAREST;
}

/// \brief wholeHalfEven(x) for |x| < 2^52 in a process that rounds to nearest (a caller checks
/// roundsToNearest() once): the same double, zero included, for a fraction of the cost.
inline double wholeHalfEvenNearest(double x) {
    // NOTE: x plus 2^52 with x's sign has no bits below the units, so the addition itself rounds
    // x to the nearest whole number, exact halves to the even one; taking 2^52 away again is
    // exact. A sum that comes back to zero is +0, as wholeHalfEven gives for (-1, 0] too. The
    // build never lets the compiler reassociate floating-point sums, which would drop the shift.
    const double shift = std::copysign(4503599627370496.0, x);
    return (x + shift) - shift;
}

/// The same as an exported function, kept for programs built against earlier versions.
QUILLET_STORE_INTERNAL double roundToWholeHalfEven(double x);

/// \brief Rounds to n decimals as the classic runtime does: x * 10^n rounded with halves to even,
/// divided by 10^n. Negative n raises error 5.
QUILLET_STORE_INTERNAL double roundHalfEven(double x, int decimals);

/// 16-bit conversion: halves to even, error 6 "Overflow" outside -32768..32767.
QUILLET_STORE_INTERNAL std::int16_t toInteger16(double x);
/// 32-bit conversion: halves to even, error 6 "Overflow" outside the 32-bit range.
QUILLET_STORE_INTERNAL std::int32_t toLong32(double x);

/// \brief The general number form: up to 15 significant digits, no trailing zeros, no grouping,
/// '.' as separator, exponent form only where the magnitude needs it, never "-0".
QUILLET_STORE_INTERNAL std::string formatGeneral(double x);
/// Appends formatGeneral(x) to out without a temporary string.
QUILLET_STORE_INTERNAL void appendGeneral(std::string& out, double x);
/// Appends formatGeneral(roundHalfEven(x, decimals)) to out, without going through a decimal
/// conversion of the double where the rounded value's digits are already known.
QUILLET_STORE_INTERNAL void appendRoundedGeneral(std::string& out, double x, int decimals);
/// The same with scale = std::pow(10, decimals) worked out once by a caller rounding many values.
QUILLET_STORE_INTERNAL void appendRoundedGeneral(std::string& out, double x, int decimals,
                                                 double scale);

}  // namespace quillet
