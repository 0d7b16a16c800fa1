// A store run killed at random moments: the EMI table always holds one whole schedule, the old
// or the new, and the store stays sound for the next run.
#include <chrono>
#include <random>
#include <thread>

#include "ChildProcess.h"
#include "StoredTables.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

constexpr const char* kLongestMonths = "32767";

/// Which schedule EMI holds: its row count and the amount its first month opens with.
struct StoredSchedule {
    long long months = 0;
    std::string amount;
    bool operator==(const StoredSchedule&) const = default;
};

std::ostream& operator<<(std::ostream& out, const StoredSchedule& s) {
    return out << s.months << " months of " << s.amount;
}

/// The schedule in the store, or a failure when EMI holds anything but one whole schedule.
StoredSchedule storedSchedule() {
    const auto rows = storedRows(
        "select count(*), count(distinct SN), min(SN), max(SN), "
        "sum(case when SN = 1 then OpeningBalance end) from EMI");
    const auto& r = rows.at(0);
    const long long count = std::stoll(r[0]);
    if (count == 0) {
        return {};
    }
    EXPECT_EQ(r[1], r[0]) << "serials repeat";
    EXPECT_EQ(r[2], "1") << "the first month is missing";
    EXPECT_EQ(r[3], r[0]) << "months are missing";
    return {count, r[4]};
}

class CrashSafetyTest : public ::testing::Test {
protected:
    /// Runs the tool on the store; with a delay, kills it that long after its start. Returns the
    /// wait status.
    int runTool(const std::string& amount, const std::string& months,
                std::optional<std::chrono::microseconds> killAfter = std::nullopt) {
        ChildProcess tool(builtProgram("quillet-schedule"),
                          {"--store", "--amount", amount, "--months", months, "--rate", "6"},
                          store.folder() / "tool-stderr.txt");
        tool.release();
        if (killAfter) {
            std::this_thread::sleep_for(*killAfter);
            tool.kill();
        }
        return tool.wait();
    }

    TempStore store;
};

TEST_F(CrashSafetyTest, AKilledStoreRunLeavesTheOldOrTheNewScheduleWholeAndTheNextRunSucceeds) {
    const int kills = runningSanitized() ? 10 : 24;
    std::random_device device;
    const unsigned seed = device();
    SCOPED_TRACE("random seed " + std::to_string(seed));
    std::mt19937 random(seed);

    ASSERT_EQ(runTool("1000", "12"), 0);
    StoredSchedule stored = storedSchedule();
    ASSERT_EQ(stored, (StoredSchedule{12, "1000"}));

    // One whole run sets the span the kills are spread over.
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(runTool("2000", kLongestMonths), 0);
    const auto wholeRun = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - started);
    stored = storedSchedule();
    ASSERT_EQ(stored, (StoredSchedule{32767, "2000"}));

    std::uniform_int_distribution<long long> moment(0, wholeRun.count());
    for (int k = 0; k < kills; ++k) {
        const std::string amount = std::to_string(3000 + k);
        const int status =
            runTool(amount, kLongestMonths, std::chrono::microseconds(moment(random)));
        ASSERT_TRUE(WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 0))
            << "the run failed on its own, status " << status;

        ASSERT_EQ(integrityOfStore(), "ok") << "after kill " << k;
        const StoredSchedule now = storedSchedule();
        const StoredSchedule whole{32767, amount};
        ASSERT_TRUE(now == stored || now == whole) << "after kill " << k << " EMI holds " << now
                                                   << ", neither " << stored << " nor " << whole;
        stored = now;
    }

    ASSERT_EQ(runTool("9000", "24"), 0);
    EXPECT_EQ(integrityOfStore(), "ok");
    EXPECT_EQ(storedSchedule(), (StoredSchedule{24, "9000"}));
}

}  // namespace
}  // namespace quillet::testing
