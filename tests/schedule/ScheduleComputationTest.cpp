#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "runtime/RuntimeError.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {
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

int errorNumberOf(const ScheduleInputs& inputs) {
    try {
        runAll(inputs);
    } catch (const RuntimeError& e) {
        return e.number();
    }
    return 0;
}

TEST(KnownAnswers, StartUpValues) {
    const ComputedSchedule run = runAll(ScheduleInputs{});
    ASSERT_EQ(run.rows.size(), 120u);
    EXPECT_EQ(run.lines[0], "1,1000000,5000,6102,993898,01/Jan/2024");
    EXPECT_EQ(run.lines[1], "2,993898,4969,6133,987765,01/Feb/2024");
    EXPECT_EQ(run.lines[119].substr(run.lines[119].size() - 14), ",0,01/Dec/2033");
    EXPECT_EQ(run.result, "11102");
    EXPECT_NEAR(run.rows[0].instalment, 11102.0502, 5e-5);
}

TEST(KnownAnswers, StartUpValuesAtTwoDecimals) {
    ScheduleInputs in;
    in.decimals = "2";
    const ComputedSchedule run = runAll(in);
    EXPECT_EQ(run.lines[0], "1,1000000,5000,6102.05,993897.95,01/Jan/2024");
    EXPECT_EQ(run.result, "11102.05");
}

TEST(KnownAnswers, ThirtyYearMortgage) {
    ScheduleInputs in;
    in.amount = "300000";
    in.rate = "5";
    in.months = "360";
    in.decimals = "2";
    EXPECT_EQ(runAll(in).result, "1610.46");
}

TEST(KnownAnswers, InsertStatementText) {
    ScheduleInputs in;
    in.decimals = "2";
    ScheduleComputation c(in);
    std::string sql;
    appendInsertStatement(sql, c, c.step(1));
    EXPECT_EQ(sql, "insert into EMI values(1,1000000,5000,6102.05,993897.95,#01/Jan/2024#)");
}

TEST(Invariants, BalancesChainAndThePrincipalRepaysTheLoan) {
    for (const char* amount : {"1000", "250000", "1000000", "12345.67"}) {
        for (const char* rate : {"0", "1.5", "6", "18"}) {
            for (const char* months : {"1", "12", "37", "120"}) {
                ScheduleInputs in;
                in.amount = amount;
                in.rate = rate;
                in.months = months;
                const ComputedSchedule run = runAll(in);
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
        ScheduleInputs in;
        in.months = months;
        const ComputedSchedule run = runAll(in);
        EXPECT_TRUE(run.rows.empty()) << months;
        EXPECT_EQ(run.result, "0");
    }
}

TEST(EdgeCases, ZeroRateSplitsTheAmountEvenly) {
    ScheduleInputs in;
    in.rate = "0";
    in.months = "4";
    in.amount = "1000";
    const ComputedSchedule run = runAll(in);
    ASSERT_EQ(run.rows.size(), 4u);
    for (const auto& row : run.rows) {
        EXPECT_EQ(row.interest, 0.0);
        EXPECT_EQ(row.instalment, 250.0);
    }
    EXPECT_EQ(run.lines[3], "4,250,0,250,0,01/Apr/2024");
}

TEST(EdgeCases, HalfMonthsRoundToEvenAndShortenEachAnnuity) {
    ScheduleInputs in;
    in.months = "12.5";
    in.rate = "12";
    in.amount = "1000";
    ScheduleComputation c(in);
    EXPECT_EQ(c.monthCount(), 12);
    const double r = 0.01;
    const ScheduleRow first = c.step(1);
    EXPECT_DOUBLE_EQ(first.instalment, r * 1000 / (1 - std::pow(1 + r, -12.5)));
    const ScheduleRow second = c.step(2);
    EXPECT_DOUBLE_EQ(second.instalment, r * first.closingBalance / (1 - std::pow(1 + r, -11.5)));
}

TEST(EdgeCases, EndOfMonthStartDatesClampAndCarry) {
    ScheduleInputs in;
    in.start = Date{2024, 1, 31};
    in.months = "4";
    const ComputedSchedule run = runAll(in);
    std::vector<std::string> dates;
    for (const auto& line : run.lines) {
        dates.push_back(line.substr(line.rfind(',') + 1));
    }
    EXPECT_EQ(dates, (std::vector<std::string>{"31/Jan/2024", "29/Feb/2024", "29/Mar/2024",
                                               "29/Apr/2024"}));
}

TEST(EdgeCases, HalvesAtZeroDecimalsGoToTheEvenNeighbour) {
    // At 1.2% a year r is exactly 0.001, so month 1's interest is an exact half.
    ScheduleInputs in;
    in.rate = "1.2";
    in.months = "10";
    in.amount = "2500";
    EXPECT_EQ(runAll(in).lines[0].substr(0, 9), "1,2500,2,");
    in.amount = "3500";
    EXPECT_EQ(runAll(in).lines[0].substr(0, 9), "1,3500,4,");
}

TEST(Failures, TextsThatAreNotNumbersFailWhereTheyAreConverted) {
    ScheduleInputs badAmount;
    badAmount.amount = "abc";
    EXPECT_EQ(errorNumberOf(badAmount), 13);

    ScheduleInputs badMonths;
    badMonths.months = "";
    EXPECT_THROW(ScheduleComputation{badMonths}, RuntimeError);

    ScheduleInputs badDecimals;
    badDecimals.decimals = "x";
    EXPECT_EQ(errorNumberOf(badDecimals), 13);

    ScheduleInputs tooLong;
    tooLong.months = "32768";
    EXPECT_EQ(errorNumberOf(tooLong), 6);

    // The amount is read at the first month, after the start succeeded.
    ScheduleComputation c(badAmount);
    EXPECT_EQ(c.monthCount(), 120);
    EXPECT_THROW(c.step(1), RuntimeError);
    EXPECT_EQ(c.result(), "0");
}

TEST(Failures, AHugeAmountOverflowsInsteadOfPrintingInfinity) {
    ScheduleInputs in;
    in.amount = "1e308";
    in.rate = "1e10";
    EXPECT_EQ(errorNumberOf(in), 6);
}

}  // namespace
}  // namespace quillet
