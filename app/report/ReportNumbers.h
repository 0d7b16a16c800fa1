#pragma once
// Amounts as the printed report writes them: exactly a given number of decimals, optionally with
// the digits grouped in thousands, and sums of such texts that equal, to the last digit, the sum
// a reader makes of the figures on the page.

#include <optional>
#include <string>
#include <string_view>

namespace quillet {

/// \brief x rounded to decimals (halves to even, as the schedule rounds) and written with
/// exactly that many decimals, '.' as separator and, when grouped, ',' between thousands:
/// 4803.4 -> "4803.40" / "4,803.40". Never "-0". A value too large for a plain decimal form
/// (beyond 1E+21) keeps the general form, as does a value that is not finite.
std::string formatFixed(double x, int decimals, bool grouped);

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

}  // namespace quillet
