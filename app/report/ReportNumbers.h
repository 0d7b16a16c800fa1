#pragma once
// Amounts as the printed report writes them: exactly a given number of decimals, optionally with
// the digits grouped in thousands, and sums of such texts that equal, to the last digit, the sum
// a reader makes of the figures on the page.

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace quillet {

/// \brief x rounded to decimals (halves to even, as the schedule rounds) and written with
/// exactly that many decimals, '.' as separator and, when grouped, ',' between thousands:
/// 4803.4 -> "4803.40" / "4,803.40". Never "-0". A value too large for a plain decimal form
/// (beyond 1E+21) keeps the general form, as does a value that is not finite.
std::string formatFixed(double x, int decimals, bool grouped);
/// Appends formatFixed(x, decimals, grouped) to out.
void appendFixed(std::string& out, double x, int decimals, bool grouped);

/// \brief The figure formatFixed(x, decimals, ...) writes, as an exact count of its last
/// decimal's units: 1234.567 with 2 decimals is written 1234.57, 123457 units. Nothing where the
/// written figure is not such a count below 10^15 (then formatFixed writes what the double's own
/// digits say), for decimals outside 0..15, or a value that is not finite.
inline std::optional<long long> shownUnits(double x, int decimals);

/// \brief Appends units of the decimals' last place written as formatFixed writes a figure:
/// 123457 with 2 decimals is "1234.57" ("1,234.57" grouped); never "-0".
void appendUnits(std::string& out, long long units, int decimals, bool grouped);

/// \brief A number written with decimals as an exact count of its last digit's units: "1,234.5"
/// with 2 decimals is 123450. Nothing when the text is not such a number or does not fit.
std::optional<long long> scaledUnits(std::string_view text, int decimals);

/// The decimals a number text shows ("12.50" -> 2, "3" -> 0, "1E-05" -> 0).
int decimalsShown(std::string_view text);

/// \brief Adds number texts exactly, in units of their last shown decimal, so a total always
/// equals the sum of the figures as printed, whatever binary fractions lie behind them.
class ShownSum {
public:
    /// Adds a shown figure; an empty text counts as 0. False (and the sum is lost) when the text
    /// is not a number.
    bool add(std::string_view text);
    /// The sum written as format writes its figures: with exactly decimals when fixed, else with
    /// the most decimals any added figure showed.
    std::string text(std::optional<int> fixedDecimals, bool grouped) const;
    bool valid() const { return m_valid; }

private:
    bool rescale(int decimals);

    bool m_valid = true;
    // Exact while the figures fit; beyond, a double that is rounded at the end.
    bool m_exact = true;
    long long m_units = 0;
    double m_approximate = 0;
    int m_decimals = 0;
};

/// 10^d for the decimals shownUnits counts in.
inline constexpr double kUnitScales[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Inline: a report counts the figures of every row to make its totals.
inline std::optional<long long> shownUnits(double x, int decimals) {
    if (decimals < 0 || decimals > 15) {
        return std::nullopt;
    }
    // NOTE: a figure rounded to k units of 10^-d with k below 10^15 has at most 15 significant
    // digits, which survive the trip through a double: the shortest digits of k / 10^d (the
    // double formatFixed writes) are exactly k's digits. Beyond, formatFixed writes the double's.
    const double scaled = x * kUnitScales[decimals];
    if (!(std::fabs(scaled) < 1e15)) {
        return std::nullopt;  // also a value that is not finite
    }
    // Halves to even, as roundHalfEven rounds x * 10^d: the whole part (toward zero) and the
    // fraction left over are both exact below 2^52.
    auto whole = static_cast<long long>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    const bool odd = (whole & 1) != 0;
    if (fraction > 0.5 || (fraction == 0.5 && odd)) {
        ++whole;
    } else if (fraction < -0.5 || (fraction == -0.5 && odd)) {
        --whole;
    }
    return whole;
}

}  // namespace quillet
