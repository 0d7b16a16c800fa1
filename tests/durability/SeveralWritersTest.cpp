// Two processes saving into one store at once: every row arrives, no serial is given twice, and
// no writer ever sees the store busy.
#include <array>
#include <fstream>

#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

constexpr int kEach = 500;

constexpr std::array kNumberedFamilies = {
    "EmpDetail",  "PersonEmployed", "ManPower",    "Visitor",    "Cable",
    "PARTNUMBER", "StatusItem",     "CableStatus", "MailRecord", "MedicalRecord"};

// Both writers save every family in turn, so each family's serials are fought over while the
// others' inserts keep the store's one write lock busy.
TEST(SeveralWriters, TwoProcessesSavingEveryFamilyAtOnceKeepEveryRowUnderItsOwnSerial) {
    TempStore store;
    // The store exists before the writers start, as it does once the program has run.
    ASSERT_EQ(rows("PRAGMA integrity_check"), (Rows{{"ok"}}));
    const std::filesystem::path go = store.folder() / "go";
    std::vector<ToolChild> writers;
    for (int i = 0; i < 2; ++i) {
        writers.emplace_back(
            std::vector<std::string>{"wait", go.string(), "families", std::to_string(kEach)},
            ChildSetup{.program = "quillet-office-desk"});
    }
    std::ofstream{go};  // releases both together
    for (ToolChild& writer : writers) {
        const ToolRun run = writer.wait();
        EXPECT_EQ(run.status, 0) << run.err;
    }

    const std::string all = std::to_string(2 * kEach);
    for (const std::string table : kNumberedFamilies) {
        SCOPED_TRACE(table);
        if (table == "MedicalRecord") {
            // Both serials count every claim: one forwarding date, one file number.
            EXPECT_EQ(rows("select count(*), count(distinct SystemSN), count(distinct SN), "
                           "max(SystemSN), max(SN) from MedicalRecord"),
                      (Rows{{all, all, all, all, all}}));
        } else {
            EXPECT_EQ(rows("select count(*), count(distinct SN), max(SN) from " + table),
                      (Rows{{all, all, all}}));
        }
    }
    EXPECT_EQ(rows("PRAGMA integrity_check"), (Rows{{"ok"}}));
}

}  // namespace
}  // namespace quillet::testing
