// Two processes saving into one store at once: every row arrives, no serial is given twice, and
// no writer ever sees the store busy.
#include <array>
#include <fstream>
#include <sstream>

#include "ChildProcess.h"
#include "StoredTables.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string contentOf(const std::filesystem::path& file) {
    return (std::stringstream() << std::ifstream(file).rdbuf()).str();
}

constexpr int kEach = 500;

/// Starts two writers of every numbered family on the current store together and waits for both.
void saveFromTwoProcesses(const TempStore& store) {
    // The store exists before the writers start, as it does once the program has run.
    ASSERT_EQ(integrityOfStore(), "ok");
    const std::array<std::filesystem::path, 2> errors = {store.folder() / "writer-1.txt",
                                                         store.folder() / "writer-2.txt"};
    ChildProcess first(builtProgram("quillet-serial-writer"), {std::to_string(kEach)}, errors[0]);
    ChildProcess second(builtProgram("quillet-serial-writer"), {std::to_string(kEach)}, errors[1]);
    first.release();
    second.release();
    const int firstStatus = first.wait();
    const int secondStatus = second.wait();
    EXPECT_TRUE(WIFEXITED(firstStatus) && WEXITSTATUS(firstStatus) == 0) << contentOf(errors[0]);
    EXPECT_TRUE(WIFEXITED(secondStatus) && WEXITSTATUS(secondStatus) == 0) << contentOf(errors[1]);
}

constexpr std::array kNumberedFamilies = {
    "EmpDetail",  "PersonEmployed", "ManPower",    "Visitor",    "Cable",
    "PARTNUMBER", "StatusItem",     "CableStatus", "MailRecord", "MedicalRecord"};

// Both writers save every family in turn, so each family's serials are fought over while the
// others' inserts keep the store's one write lock busy.
TEST(SeveralWriters, TwoProcessesSavingEveryFamilyAtOnceKeepEveryRowUnderItsOwnSerial) {
    TempStore store;
    saveFromTwoProcesses(store);

    const std::string all = std::to_string(2 * kEach);
    for (const std::string table : kNumberedFamilies) {
        SCOPED_TRACE(table);
        if (table == "MedicalRecord") {
            // Both serials count every claim: one forwarding date, one file number.
            EXPECT_EQ(storedRows("select count(*), count(distinct SystemSN), count(distinct SN), "
                                 "max(SystemSN), max(SN) from MedicalRecord"),
                      (Rows{{all, all, all, all, all}}));
        } else {
            EXPECT_EQ(storedRows("select count(*), count(distinct SN), max(SN) from " + table),
                      (Rows{{all, all, all}}));
        }
    }
    EXPECT_EQ(integrityOfStore(), "ok");
}

}  // namespace
}  // namespace quillet::testing
