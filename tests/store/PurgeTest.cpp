// The store's upkeep: the purge and the schema upgrades.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <iterator>
#include <sstream>

#include "VekClass.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Names = std::vector<std::string>;

// Every table the purge empties, in the order it empties them.
Names purgedTables() {
    std::istringstream in(
        "Appointment Cable CableDetail CABLES CableStatus CategoryTable DOCUMENT EmpDetail "
        "Employeelist ITEMDETAIL Leavex PARTNUMBER PROJECT_CODES pur RemAdvance SHIP_CODES "
        "StatusItem System_ WDR wherex WireDetail WireNumber WorkAhead WorkDetail MailRecord "
        "MedicalRecord MedicalRecordHindi MedicalRecordHindiName Visitor SalaryTable "
        "PersonEmployed Gangaway DOCUMENTFile Customercodes CopyOfWDR");
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

const Names kPurged = purgedTables();

// The purge stops at the first table it cannot empty, leaving the later ones; with the table back
// it empties all of them, never the schedule.
TEST(Purge, EmptiesTheListedTablesInOrderButNotTheSchedule) {
    TempStore store;
    std::vector<std::string> statements{"DROP TABLE pur",
                                        "insert into EMI values(1,1000,5,995,5,#01/Jan/2024#)"};
    for (const auto& t : kPurged) {
        if (t != "pur") {
            statements.push_back("insert into " + t + " (SN) values(1)");
        }
    }
    exec(statements);
    VekClass vek;
    EXPECT_THROW(vek.deleteAll(), RuntimeError);
    for (std::size_t i = 0; i < kPurged.size(); ++i) {
        if (kPurged[i] != "pur") {
            EXPECT_EQ(countRows(kPurged[i]), i < 13 ? 0 : 1) << kPurged[i];
        }
    }
    EXPECT_TRUE(store.shown().empty());

    exec({"CREATE TABLE pur (SN NUMBER)", "insert into pur (SN) values(1)"});
    vek.deleteAll();
    for (const auto& t : kPurged) {
        EXPECT_EQ(countRows(t), 0) << t;
    }
    EXPECT_EQ(countRows("EMI"), 1);
    ASSERT_EQ(store.shown().size(), 1u);
    EXPECT_EQ(store.shown()[0].prompt, "Deleted");
}

// A missing table is skipped and the rest take effect.
TEST(TransactionTableUpgrade, AddsRemarksAndCreatesTheFiveTablesOnceSkippingAMissingTable) {
    TempStore store;
    exec({"DROP TABLE bank"});
    VekClass vek;
    vek.altertabletransactiontable();
    EXPECT_FALSE(tableExists("bank"));
    for (const auto& t : {"transactiontable", "cash", "CHARGES"}) {
        EXPECT_THAT(columnsOf(t), ::testing::IsSupersetOf({"REM1", "REM2"})) << t;
    }
    for (const auto& t :
         {"BILLTABLETY", "TYASSETNEW", "TYLIABILITYNEW", "BALANCESHEETNoW", "LEDGERACCOUNT"}) {
        EXPECT_TRUE(tableExists(t)) << t;
    }

    // A second run changes nothing and raises nothing.
    exec({"insert into cash (REM1, REM2) values('kept', 7)"});
    EXPECT_NO_THROW(vek.altertabletransactiontable());
    EXPECT_EQ(rows("select REM1, REM2 from cash"), (std::vector<Names>{{"kept", "7"}}));
}

TEST(EmployeeTableUpgrade, WidensTheHolidayRemarkAndAddsTheNewColumns) {
    TempStore store;
    // An older employee table, without Code and NameHindi.
    exec({"DROP TABLE EmpDetail", "CREATE TABLE EmpDetail (SN NUMBER, NAME_ TEXT(50))",
          "insert into EmpDetail values(1, 'KEPT')",
          "insert into HolidayTable (REMARK) values('holiday')"});
    VekClass vek;
    vek.altertableEmpDetail();
    EXPECT_EQ(columnsOf("EmpDetail"), (Names{"SN", "NAME_", "Code", "NameHindi"}));
    EXPECT_EQ(rows("select NAME_ from EmpDetail"), (std::vector<Names>{{"KEPT"}}));
    const auto sql = rows("select sql from sqlite_master where name = 'HolidayTable'")[0][0];
    EXPECT_NE(sql.find("101"), std::string::npos) << sql;
    EXPECT_EQ(rows("select REMARK from HolidayTable"), (std::vector<Names>{{"holiday"}}));
    EXPECT_NO_THROW(vek.altertableEmpDetail());
    EXPECT_EQ(columnsOf("EmpDetail"), (Names{"SN", "NAME_", "Code", "NameHindi"}));
}

}  // namespace
}  // namespace quillet::testing
