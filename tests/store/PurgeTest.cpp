#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "VekClass.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

// Every table the purge empties, in the order it empties them.
std::vector<std::string> purgedTables() {
    std::istringstream in(
        "Appointment Cable CableDetail CABLES CableStatus CategoryTable DOCUMENT EmpDetail "
        "Employeelist ITEMDETAIL Leavex PARTNUMBER PROJECT_CODES pur RemAdvance SHIP_CODES "
        "StatusItem System_ WDR wherex WireDetail WireNumber WorkAhead WorkDetail MailRecord "
        "MedicalRecord MedicalRecordHindi MedicalRecordHindiName Visitor SalaryTable "
        "PersonEmployed Gangaway DOCUMENTFile Customercodes CopyOfWDR");
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

const std::vector<std::string> kPurged = purgedTables();

void fillEveryTable() {
    std::vector<std::string> statements;
    for (const auto& t : kPurged) {
        statements.push_back("insert into " + t + " (SN) values(1)");
    }
    statements.push_back("insert into EMI values(1,1000,5,995,5,#01/Jan/2024#)");
    exec(statements);
}

TEST(Purge, EmptiesTheListedTablesButNotTheSchedule) {
    TempStore store;
    fillEveryTable();
    VekClass vek;
    vek.deleteAll();
    for (const auto& t : kPurged) {
        EXPECT_EQ(countRows(t), 0) << t;
    }
    EXPECT_EQ(countRows("EMI"), 1);
    ASSERT_EQ(store.shown().size(), 1u);
    EXPECT_EQ(store.shown()[0].prompt, "Deleted");
}

TEST(Purge, StopsAtAMissingTableAndLeavesTheRest) {
    TempStore store;
    fillEveryTable();
    exec({"DROP TABLE pur"});
    VekClass vek;
    EXPECT_THROW(vek.deleteAll(), RuntimeError);
    for (std::size_t i = 0; i < kPurged.size(); ++i) {
        if (kPurged[i] != "pur") {
            EXPECT_EQ(countRows(kPurged[i]), i < 13 ? 0 : 1) << kPurged[i];
        }
    }
    EXPECT_TRUE(store.shown().empty());
}

}  // namespace
}  // namespace quillet::testing
