// A store run killed at random moments: the EMI table always holds one whole schedule, the old
// or the new, and the store stays sound for the next run.
#include <chrono>
#include <random>
#include <thread>

#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr const char* kLongestMonths = "32767";

/// The schedule in the store as "MONTHS months of AMOUNT" (its first month's opening), or a
/// failure when EMI holds anything but one whole schedule.
std::string storedSchedule() {
    const auto counts =
        rows("select count(*), count(distinct SN), min(SN), max(SN) from EMI").at(0);
    if (counts[0] == "0") {
        return "no schedule";
    }
    EXPECT_EQ(counts[1], counts[0]) << "serials repeat";
    EXPECT_EQ(counts[2], "1") << "the first month is missing";
    EXPECT_EQ(counts[3], counts[0]) << "months are missing";
    return counts[0] + " months of " + rows("select OpeningBalance from EMI where SN = 1")[0][0];
}

class CrashSafetyTest : public ::testing::Test {
protected:
    /// Runs the tool on the store; with a delay, kills it that long after its start. Returns the
    /// exit status, -1 when killed.
    int runTool(const std::string& amount, const std::string& months,
                std::optional<std::chrono::microseconds> killAfter = std::nullopt) {
        ToolChild tool({"--store", "--amount", amount, "--months", months, "--rate", "6"});
        if (killAfter) {
            std::this_thread::sleep_for(*killAfter);
            tool.kill();
        }
        return tool.wait().status;
    }

    TempStore store;
};

TEST_F(CrashSafetyTest, AKilledStoreRunLeavesTheOldOrTheNewScheduleWholeAndTheNextRunSucceeds) {
    // Under the sanitizers every program is several times slower: fewer kills of the same kind.
    const char* sanitized = std::getenv("QUILLET_SANITIZED");
    const int kills = sanitized != nullptr && std::string(sanitized) == "1" ? 10 : 24;
    std::random_device device;
    const unsigned seed = device();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);

    ASSERT_EQ(runTool("1000", "12"), 0);
    ASSERT_EQ(storedSchedule(), "12 months of 1000");

    // One whole run sets the span the kills are spread over.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runTool("2000", kLongestMonths), 0);
    const auto wholeRun = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    std::string stored = storedSchedule();
    ASSERT_EQ(stored, "32767 months of 2000");

    std::uniform_int_distribution<long long> moment(0, wholeRun.count());
    for (int k = 0; k < kills; ++k) {
        const std::string amount = std::to_string(3000 + k);
        const int status =
            runTool(amount, kLongestMonths, std::chrono::microseconds(moment(random)));
        ASSERT_TRUE(status == -1 || status == 0) << "the run failed on its own, status " << status;

        ASSERT_EQ(rows("PRAGMA integrity_check"), (Rows{{"ok"}})) << "after kill " << k;
        const std::string now = storedSchedule();
        const std::string whole = std::string(kLongestMonths) + " months of " + amount;
        ASSERT_TRUE(now == stored || now == whole) << "after kill " << k << " EMI holds " << now
                                                   << ", neither " << stored << " nor " << whole;
        stored = now;
    }

    ASSERT_EQ(runTool("9000", "24"), 0);
    EXPECT_EQ(rows("PRAGMA integrity_check"), (Rows{{"ok"}}));
    EXPECT_EQ(storedSchedule(), "24 months of 9000");
}

}  // namespace
}  // namespace quillet::testing
