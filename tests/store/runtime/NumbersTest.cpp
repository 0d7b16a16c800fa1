#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "support/ErrorNumber.h"

namespace quillet::testing {
namespace {

// Blanks, tabs, a lone point either side, exponents, grouping, hex and overflow are also
// replayed from the number corpus (fuzz/).
TEST(NumericText, AcceptsTheDecimalGrammar) {
    for (const char* text : {"0", "-5", "+5", "-.5", "1E-3", "2.5e+2", "00012"}) {
        EXPECT_TRUE(isNumeric(text)) << text;
    }
    EXPECT_DOUBLE_EQ(*parseNumber(" -.5 "), -0.5);
    EXPECT_DOUBLE_EQ(*parseNumber("2.5e+2"), 250.0);
    // The value's size decides, not the exponent's sign: too small for a double is zero.
    EXPECT_EQ(parseNumber("0." + std::string(400, '0') + "1"), std::optional<double>(0.0));
    EXPECT_EQ(parseNumber("-1e-999"), std::optional<double>(0.0));
}

TEST(NumericText, RejectsEverythingElse) {
    for (const char* text : {"", " ", "abc", "$5", "inf", "Infinity", "1e+", "--1", "+-1", "1.2.3",
                             ".", "1 2", "5%", "\xE0\xA5\xA7"}) {
        EXPECT_FALSE(isNumeric(text)) << text;
    }
    // 1E+399: beyond the double range, whatever the exponent's sign says.
    EXPECT_FALSE(isNumeric("1" + std::string(400, '0') + "e-1"));
}

TEST(Rounding, HalvesOfTheScaledProductGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5, 0), 2.0);
    EXPECT_EQ(roundHalfEven(3.5, 0), 4.0);
    EXPECT_EQ(roundHalfEven(-2.5, 0), -2.0);
    EXPECT_EQ(roundHalfEven(2.4999, 0), 2.0);
    // 0.015 * 100 is exactly 1.5 in double, so it goes to 2: 0.02.
    EXPECT_EQ(roundHalfEven(0.015, 2), 0.02);
    EXPECT_EQ(roundHalfEven(0.025, 2), 0.02);  // exactly 2.5 after scaling: to the even 2
    EXPECT_EQ(roundHalfEven(1.005, 2), 1.0);   // 100.49999999999999 after scaling
    EXPECT_EQ(roundHalfEven(6102.0502, 2), 6102.05);
    EXPECT_EQ(roundHalfEven(1e300, 2), 1e300);
    EXPECT_THROW(roundHalfEven(1.0, -1), RuntimeError);
}

// The short way to a whole number gives the same double as the general one, to the last bit
// (the sign of a zero included), wherever it is used.
TEST(Rounding, TheNearestModeShortWayMatchesTheGeneralOneBitForBit) {
    ASSERT_TRUE(roundsToNearest());
    constexpr double kTwo52 = 4503599627370496.0;
    // Halves, near halves and the largest figures with a fraction; every value with both signs.
    std::vector<double> values = {
        0.0,        0.3,         0.5, 0.7, 1.5, 2.5, 999999999999912.5, 999999999999913.5,
        1e15 + 0.5, kTwo52 - 1.5};
    for (const double edge :
         {kTwo52 / 2 + 0.5, kTwo52 - 0.5, std::nextafter(2.5, 0.0), std::nextafter(kTwo52, 0.0)}) {
        values.push_back(edge);
    }
    // A spread of ordinary figures, halves and near halves among them.
    for (double x = 0.001; x < kTwo52 - 1; x = x * 1.037 + 0.013) {
        values.push_back(x);
        values.push_back(std::floor(x) + 0.5);
    }
    for (std::size_t i = 0, n = values.size(); i < n; ++i) {
        values.push_back(-values[i]);
    }
    for (const double value : values) {
        const double general = wholeHalfEven(value);
        const double shortWay = wholeHalfEvenNearest(value);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(shortWay), std::bit_cast<std::uint64_t>(general))
            << value << ": " << shortWay << " vs " << general;
    }
    EXPECT_FALSE(std::signbit(wholeHalfEvenNearest(-0.3)));
    EXPECT_EQ(wholeHalfEvenNearest(-2.5), -2.0);
}

TEST(IntegerConversion, HalvesToEvenAndOverflow) {
    EXPECT_EQ(toInteger16(12.5), 12);
    EXPECT_EQ(toInteger16(13.5), 14);
    EXPECT_EQ(toInteger16(-0.5), 0);
    EXPECT_EQ(toInteger16(-32768.5), -32768);
    EXPECT_EQ(errorNumberOf([] { toInteger16(32767.5); }), 6);
    EXPECT_EQ(errorNumberOf([] { toInteger16(std::nan("")); }), 6);
    EXPECT_EQ(toLong32(2147483647.0), 2147483647);
    EXPECT_EQ(errorNumberOf([] { toLong32(2147483648.0); }), 6);
}

TEST(GeneralNumberForm, FifteenDigitsWithoutNoiseAndExponentOnlyWhenNeeded) {
    EXPECT_EQ(formatGeneral(-0.0), "0");
    EXPECT_EQ(formatGeneral(1000000), "1000000");
    EXPECT_EQ(formatGeneral(993897.95), "993897.95");
    EXPECT_EQ(formatGeneral(0.1 + 0.2), "0.3");
    EXPECT_EQ(formatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(formatGeneral(1.0 / 3.0), "0.333333333333333");
    // Sixteen digits are one more than the form shows: the exponent takes over at 1E+15.
    EXPECT_EQ(formatGeneral(1e15), "1E+15");
    EXPECT_EQ(formatGeneral(1234567890123456789.0), "1.23456789012346E+18");
    EXPECT_EQ(formatGeneral(0.0000001), "1E-07");
    EXPECT_EQ(formatGeneral(-2.5e-10), "-2.5E-10");
}

TEST(RoundedGeneralForm, MatchesRoundingThenFormatting) {
    const double values[] = {0.0,      -0.0,    0.5,        0.05,          0.004,    -0.005,
                             1.005,    6102.05, 993897.949, 12.3456,       -12.3456, 100.10,
                             1.234e-5, 5e14,    123456.789, 0.015,         2.675,    1e16,
                             -7.0,     99.995,  0.1 + 0.2,  1234567.891011};
    for (const double x : values) {
        for (int d = 0; d <= 6; ++d) {
            std::string fast;
            appendRoundedGeneral(fast, x, d);
            EXPECT_EQ(fast, formatGeneral(roundHalfEven(x, d))) << x << " at " << d;
        }
    }
}

}  // namespace
}  // namespace quillet::testing
