#include <gtest/gtest.h>

#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"
#include "support/ErrorNumber.h"

namespace quillet::testing {
namespace {

struct ComputedSchedule {
    std::vector<ScheduleRow> rows;
    std::vector<std::string> lines;
    std::string result;
};

ComputedSchedule runAll(const ScheduleInputs& inputs) {
    ScheduleComputation c(inputs);
    ComputedSchedule run;
    for (int i = 1; i <= c.monthCount(); ++i) {
        run.rows.push_back(c.step(static_cast<std::int16_t>(i)));
        std::string line;
        appendCsvLine(line, c, run.rows.back());
        line.pop_back();
        run.lines.push_back(line);
    }
    run.result = c.result();
    return run;
}

ScheduleInputs inputs(const char* amount, const char* rate, const char* months,
                      const char* decimals = "0") {
    ScheduleInputs in;
    in.amount = amount;
    in.rate = rate;
    in.months = months;
    in.decimals = decimals;
    return in;
}

int errorNumberOf(const ScheduleInputs& in) {
    return testing::errorNumberOf([&] { runAll(in); });
}

TEST(KnownAnswers, StartUpValues) {
    const ComputedSchedule run = runAll(ScheduleInputs{});
    ASSERT_EQ(run.rows.size(), 120u);
    EXPECT_EQ(run.lines[0], "1,1000000,5000,6102,993898,01/Jan/2024");
    EXPECT_EQ(run.result, "11102");

    // The decimals text is made whole with halves to even: "1.5" rounds to 2 decimals.
    const ComputedSchedule two = runAll(inputs("1000000", "6", "120", "1.5"));
    EXPECT_EQ(two.lines[0], "1,1000000,5000,6102.05,993897.95,01/Jan/2024");
    EXPECT_EQ(two.result, "11102.05");

    ScheduleComputation c(inputs("1000000", "6", "120", "2"));
    std::string sql;
    appendInsertStatement(sql, c, c.step(1));
    EXPECT_EQ(sql, "insert into EMI values(1,1000000,5000,6102.05,993897.95,#01/Jan/2024#)");
}

TEST(Invariants, BalancesChainAndThePrincipalRepaysTheLoan) {
    for (const char* amount : {"1000", "250000", "1000000", "12345.67"}) {
        for (const char* rate : {"0", "1.5", "6", "18"}) {
            for (const char* months : {"1", "12", "37", "120"}) {
                const ComputedSchedule run = runAll(inputs(amount, rate, months));
                double principal = 0;
                for (std::size_t k = 0; k < run.rows.size(); ++k) {
                    if (k > 0) {
                        EXPECT_EQ(run.rows[k].openingBalance, run.rows[k - 1].closingBalance);
                    }
                    EXPECT_NEAR(run.rows[k].instalment, run.rows[0].instalment, 1e-6);
                    principal += run.rows[k].principal;
                }
                const double loan = std::stod(amount);
                EXPECT_NEAR(principal, loan, 1e-6 * loan) << amount << " " << rate << " " << months;
                EXPECT_NEAR(run.rows.back().closingBalance, 0.0, 1e-6 * loan);
                const std::string& last = run.lines.back();
                const auto end = last.rfind(',');
                const auto start = last.rfind(',', end - 1);
                EXPECT_EQ(last.substr(start + 1, end - start - 1), "0") << "never -0: " << last;
            }
        }
    }
}

TEST(EdgeCases, NoMonthsGivesNoRowsAndZero) {
    for (const char* months : {"0", "-5", "0.5", "0.4"}) {
        const ComputedSchedule run = runAll(inputs("1000000", "6", months));
        EXPECT_TRUE(run.rows.empty()) << months;
        EXPECT_EQ(run.result, "0");
    }
    const ComputedSchedule even = runAll(inputs("1000", "0", "4"));  // no interest: even parts
    EXPECT_EQ(even.result, "250");
    EXPECT_EQ(even.lines[3], "4,250,0,250,0,01/Apr/2024");
}

TEST(EdgeCases, HalfMonthsRoundToEvenAndShortenEachAnnuity) {
    // 12.5 rounds down and 13.5 up: neither truncation nor halves away from zero give both.
    EXPECT_EQ(runAll(inputs("1000", "12", "12.5")).rows.size(), 12u);
    // The first annuity runs over 13.5 months (79.5557 a month, not 76.90 over 14), the next
    // over 12.5.
    const ComputedSchedule run = runAll(inputs("1000", "12", "13.5", "2"));
    ASSERT_EQ(run.rows.size(), 14u);
    EXPECT_EQ(run.lines[0], "1,1000,10,69.56,930.44,01/Jan/2024");
    EXPECT_EQ(run.lines[1], "2,930.44,9.3,70.25,860.19,01/Feb/2024");
}

// Every day past the 28th can be missing in a later month: the day is clamped there and the
// clamped day carries on.
TEST(EdgeCases, EndOfMonthStartDatesClampAndCarry) {
    using Dates = std::vector<std::string>;
    const std::vector<std::pair<Date, Dates>> cases{
        {{2024, 1, 31}, {"31/Jan/2024", "29/Feb/2024", "29/Mar/2024", "29/Apr/2024"}},
        {{2023, 1, 29}, {"29/Jan/2023", "28/Feb/2023", "28/Mar/2023"}},
        {{2023, 11, 30}, {"30/Nov/2023", "30/Dec/2023", "30/Jan/2024", "29/Feb/2024"}}};
    for (const auto& [start, expected] : cases) {
        ScheduleInputs in;
        in.start = start;
        in.months = std::to_string(expected.size());
        Dates dates;
        for (const auto& line : runAll(in).lines) {
            dates.push_back(line.substr(line.rfind(',') + 1));
        }
        EXPECT_EQ(dates, expected);
    }
    ScheduleInputs in;
    in.start = Date{9999, 11, 15};
    in.months = "3";
    ScheduleComputation c(in);
    EXPECT_EQ(c.step(1).date, (Date{9999, 11, 15}));
    EXPECT_EQ(c.step(2).date, (Date{9999, 12, 15}));
    EXPECT_EQ(testing::errorNumberOf([&] { c.step(3); }), 5);  // past the calendar's end
}

TEST(EdgeCases, HalvesAtZeroDecimalsGoToTheEvenNeighbour) {
    // At 1.2% a year r is exactly 0.001, so month 1's interest is an exact half.
    EXPECT_EQ(runAll(inputs("2500", "1.2", "10")).lines[0].substr(0, 9), "1,2500,2,");
    EXPECT_EQ(runAll(inputs("3500", "1.2", "10")).lines[0].substr(0, 9), "1,3500,4,");
    // The monthly rate is (rate x 0.01) / 12: at 3.75 % that lands just below the half that
    // rate / 1200 would give exactly, so the first interest is 937, not 938.
    EXPECT_EQ(runAll(inputs("300000", "3.75", "360")).lines[0].substr(0, 13), "1,300000,937,");
}

/// Restores the process's rounding mode however a test ends.
class RoundingMode {
public:
    explicit RoundingMode(int mode) : m_saved(std::fegetround()) { std::fesetround(mode); }
    ~RoundingMode() { std::fesetround(m_saved); }
    RoundingMode(const RoundingMode&) = delete;
    RoundingMode& operator=(const RoundingMode&) = delete;

private:
    int m_saved;
};

std::uint64_t bitsOf(double x) {
    return std::bit_cast<std::uint64_t>(x);
}

// The classic rule, the reference: x * 10^d made whole with halves to even, divided by 10^d.
double classicRounding(double x, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return wholeHalfEven(x * scale) / scale;
}

// Figures where a near miss of the rule shows: exact halves of the scaled product (binary
// fractions), negatives that round to zero (never -0), the last figures below 10^15 once scaled
// and the first ones past it.
std::vector<double> nearMissFigures() {
    std::vector<double> figures{-0.0};
    const auto withItsNegative = [&](double x) {
        figures.push_back(x);
        figures.push_back(-x);
    };
    for (const double x :
         {0.125, 0.375, 1.125, 6102.0625, 0.00390625, 0.004, 0.005, 99999999999.5625,
          9999999999999.125, 10000000000000.125, 1000000000000000.5, 4503599627370495.5}) {
        withItsNegative(x);
    }
    // Figures whose texts read back only when written with the right digits.
    for (const double x : {0.135, 2.5, 2.675, 1.005, 1234.5678, 0.000049999, 0.00005,
                           987654321.98765, 100000000000000.5, 333333333333333.3, 4503599627.5,
                           1e-12, 7.0, 123456.789012, 99.995, 1e300}) {
        withItsNegative(x);
    }
    double x = 0.0001;
    for (int i = 0; i < 1500; ++i, x = x * 1.041 + 0.0071) {
        withItsNegative(x);
    }
    return figures;
}

// The value the run binds for a figure is, to the last bit, the classic rule's; a process that
// rounds otherwise still gets it, as that process's own arithmetic gives it. It is also what the
// figure's stored text reads back as, and it is offered only where that text is a plain decimal.
TEST(RoundedValues, AreTheClassicRoundingAndReadBackAsTheirTextsInAnyRoundingMode) {
    for (const int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        const RoundingMode rounding(mode);
        for (const int decimals : {0, 1, 2, 3, 4, 5, 6, 9, 15, 16}) {
            const ScheduleComputation computation(
                inputs("1000", "6", "12", std::to_string(decimals).c_str()));
            SCOPED_TRACE(std::to_string(decimals) + " decimals in rounding mode " +
                         std::to_string(mode));
            for (const double x : nearMissFigures()) {
                const volatile double figure = x;
                const std::string text = computation.rounded(figure);
                const std::optional<double> value = computation.roundedValue(figure);
                // An ordinary figure (a few decimals, well inside 15 digits) always takes the
                // bound way; a text that does not read back as the rounded value never does.
                if (std::fabs(x) < 1e9 && decimals <= 4 &&
                    text.find_first_of("Ee") == std::string::npos) {
                    EXPECT_TRUE(value.has_value()) << text;
                }
                if (!value) {
                    continue;
                }
                if (mode == FE_TONEAREST) {  // as the text is read back, in the usual mode
                    EXPECT_EQ(*value, parseNumber(text).value()) << text;
                }
                if (decimals <= 6) {
                    EXPECT_EQ(bitsOf(*value), bitsOf(classicRounding(figure, decimals)))
                        << x << ": " << *value;
                }
            }
        }
    }
    // Beyond the loop's bit check: the value exists, and a negative rounding to zero is never -0.
    const ScheduleComputation two(inputs("1000", "6", "12", "2"));
    ASSERT_TRUE(two.roundedValue(-0.00390625).has_value());
    EXPECT_FALSE(std::signbit(*two.roundedValue(-0.00390625)));
    EXPECT_EQ(two.roundedValue(9999999999999.125), 9999999999999.12);
    const ScheduleComputation negative(inputs("1000", "6", "12", "-1"));
    EXPECT_THROW(static_cast<void>(negative.roundedValue(1.5)), RuntimeError);
}

TEST(Failures, TextsThatAreNotNumbersFailWhereTheyAreConverted) {
    EXPECT_EQ(errorNumberOf(inputs("1000", "6", "12", "x")), 13);
    EXPECT_EQ(errorNumberOf(inputs("1000", "6", "32768")), 6);
    EXPECT_THROW(ScheduleComputation{inputs("1000", "6", "")}, RuntimeError);
    // The amount is read at the first month, after the start succeeded.
    ScheduleComputation c(inputs("abc", "6", "120"));
    EXPECT_EQ(c.monthCount(), 120);
    EXPECT_EQ(testing::errorNumberOf([&] { c.step(1); }), 13);
    EXPECT_EQ(c.result(), "0");
    // A huge amount overflows instead of printing infinity.
    EXPECT_EQ(errorNumberOf(inputs("1e308", "1e10", "120")), 6);
}

}  // namespace
}  // namespace quillet::testing
