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

TEST(StoredRows, MatchTheRowStatementsForEveryFormOfFigure) {
    TempStore store;
    const Date monthEnd{2024, 1, 31};
    const std::vector<ScheduleInputs> cases = {
        {"1000000", "120", "6", "2", monthEnd},        // whole and two-decimal figures
        {"1000000", "120", "6", "0", monthEnd},        // whole figures only
        {"250000", "60", "7.25", "3", monthEnd},       // halves rounded to even
        {"-5000", "24", "4", "2", monthEnd},           // negative figures
        {"0.5", "36", "12", "9", monthEnd},            // figures below 1E-04: the exponent form
        {"1E+16", "12", "5", "2", monthEnd},           // beyond 15 digits
        {"123456789.123", "12", "0", "16", monthEnd},  // more decimals than 15 digits hold
        {"1000", "400", "3", "2", Date{150, 1, 31}},   // years of three digits
    };
    for (const ScheduleInputs& in : cases) {
        SCOPED_TRACE(in.amount + " over " + in.months + " at " + in.rate + "%, " + in.decimals);
        const ScheduleRunOutcome outcome = runScheduleToStore(in, {});
        ASSERT_FALSE(outcome.failed) << outcome.errorDescription;
        const auto byRun = rows(kStoredForm);

        std::vector<std::string> statements{"delete * from EMI"};
        ScheduleComputation computation(in);
        for (int i = 1; i <= computation.monthCount(); ++i) {
            appendInsertStatement(statements.emplace_back(), computation,
                                  computation.step(static_cast<std::int16_t>(i)));
        }
        exec(statements);
        const auto expected = rows(kStoredForm);
        ASSERT_FALSE(expected.empty());
        EXPECT_EQ(byRun, expected);
    }
}

}  // namespace
}  // namespace quillet::testing
