#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

namespace quillet::testing {
namespace {

TEST(NumericText, AcceptsTheDecimalGrammar) {
    for (const char* text : {"0", "5", "-5", "+5", " 12 ", "\t7", "5.", ".5", "-.5", "1e3", "1E-3",
                             "2.5e+2", "00012", "1000000"}) {
        EXPECT_TRUE(isNumeric(text)) << text;
    }
    EXPECT_DOUBLE_EQ(*parseNumber(" -.5 "), -0.5);
    EXPECT_DOUBLE_EQ(*parseNumber("2.5e+2"), 250.0);
    // The value's size decides, not the exponent's sign: too small for a double is zero.
    EXPECT_EQ(parseNumber("0." + std::string(400, '0') + "1"), std::optional<double>(0.0));
    EXPECT_EQ(parseNumber("-1e-999"), std::optional<double>(0.0));
}

TEST(NumericText, RejectsEverythingElse) {
    for (const char* text :
         {"",    " ",   "abc", "1,000", "$5", "0x10", "inf", "nan", "Infinity", "1e",
          "1e+", "--1", "+-1", "1.2.3", ".",  "-",    "1 2", "5%",  "1e999",    "\xE0\xA5\xA7"}) {
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

TEST(IntegerConversion, HalvesToEvenAndOverflow) {
    EXPECT_EQ(toInteger16(12.5), 12);
    EXPECT_EQ(toInteger16(13.5), 14);
    EXPECT_EQ(toInteger16(-0.5), 0);
    EXPECT_EQ(toInteger16(-32768.5), -32768);
    try {
        toInteger16(32767.5);
        FAIL() << "no overflow";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number(), 6);
        EXPECT_EQ(e.description(), "Overflow");
    }
    EXPECT_THROW(toInteger16(std::nan("")), RuntimeError);
    EXPECT_EQ(toLong32(2147483647.0), 2147483647);
    EXPECT_THROW(toLong32(2147483648.0), RuntimeError);
}

TEST(GeneralNumberForm, FifteenDigitsWithoutNoiseAndExponentOnlyWhenNeeded) {
    EXPECT_EQ(formatGeneral(0.0), "0");
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
