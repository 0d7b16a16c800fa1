// The rows a Calculate stores are exactly those its row statements store when run one by one as
// text: the same values with the same storage types, whatever the decimals and the signs.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run/ScheduleStoreRun.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

// Each stored value with its storage type, so 5 and 5.0 or '2024-01-01' and a date number differ.
constexpr const char* kStoredForm =
    "select typeof(SN) || ':' || quote(SN), typeof(OpeningBalance) || ':' || "
    "quote(OpeningBalance), typeof(Interest) || ':' || quote(Interest), typeof(Principal) || ':' "
    "|| quote(Principal), typeof(ClosingBalance) || ':' || quote(ClosingBalance), "
    "typeof(EMIDate) || ':' || quote(EMIDate) from EMI order by SN";

std::vector<std::vector<std::string>> storedByRun(const ScheduleInputs& inputs) {
    const ScheduleRunOutcome outcome = runScheduleToStore(inputs, {});
    EXPECT_FALSE(outcome.failed) << outcome.errorDescription;
    return rows(kStoredForm);
}

std::vector<std::vector<std::string>> storedStatementByStatement(const ScheduleInputs& inputs) {
    std::vector<std::string> statements{"delete * from EMI"};
    ScheduleComputation computation(inputs);
    for (int i = 1; i <= computation.monthCount(); ++i) {
        const ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
        std::string statement;
        appendInsertStatement(statement, computation, row);
        statements.push_back(statement);
    }
    exec(statements);
    return rows(kStoredForm);
}

ScheduleInputs inputs(const char* amount, const char* months, const char* rate,
                      const char* decimals, Date start = Date{2024, 1, 31}) {
    ScheduleInputs in;
    in.amount = amount;
    in.months = months;
    in.rate = rate;
    in.decimals = decimals;
    in.start = start;
    return in;
}

TEST(StoredRows, MatchTheRowStatementsForEveryFormOfFigure) {
    TempStore store;
    const std::vector<ScheduleInputs> cases = {
        inputs("1000000", "120", "6", "2"),        // whole and two-decimal figures
        inputs("1000000", "120", "6", "0"),        // whole figures only
        inputs("250000", "60", "7.25", "3"),       // halves rounded to even
        inputs("-5000", "24", "4", "2"),           // negative figures
        inputs("0.5", "36", "12", "9"),            // figures below 1E-04: the exponent form
        inputs("1E+16", "12", "5", "2"),           // beyond 15 digits
        inputs("123456789.123", "12", "0", "16"),  // more decimals than 15 digits hold
        inputs("1000", "400", "3", "2", Date{150, 1, 31}),  // years of three digits
    };
    for (const ScheduleInputs& in : cases) {
        SCOPED_TRACE(in.amount + " over " + in.months + " at " + in.rate + "%, " + in.decimals +
                     " decimals");
        const auto run = storedByRun(in);
        const auto expected = storedStatementByStatement(in);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(run, expected);
    }
}

TEST(StoredRows, ARunWithNegativeDecimalsStoresNothingAndReportsTheRounding) {
    TempStore store;
    const ScheduleRunOutcome outcome = runScheduleToStore(inputs("1000", "12", "5", "-1"), {});
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.errorNumber, 5);
    EXPECT_EQ(countRows("EMI"), 0);
}

}  // namespace
}  // namespace quillet::testing
