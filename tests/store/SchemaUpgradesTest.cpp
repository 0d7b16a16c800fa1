#include <gtest/gtest.h>

#include <algorithm>

#include "VekClass.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Names = std::vector<std::string>;

bool hasColumn(const std::string& table, const std::string& column) {
    const auto names = columnsOf(table);
    return std::find(names.begin(), names.end(), column) != names.end();
}

const Names kCreated = {"BILLTABLETY", "TYASSETNEW", "TYLIABILITYNEW", "BALANCESHEETNoW",
                        "LEDGERACCOUNT"};

TEST(TransactionTableUpgrade, AddsRemarksAndCreatesTheFiveTablesInOrderOnce) {
    TempStore store;
    VekClass vek;
    vek.altertabletransactiontable();
    for (const auto& t : {"transactiontable", "bank", "cash", "CHARGES"}) {
        EXPECT_TRUE(hasColumn(t, "REM1")) << t;
        EXPECT_TRUE(hasColumn(t, "REM2")) << t;
    }
    for (const auto& t : kCreated) {
        EXPECT_TRUE(tableExists(t)) << t;
    }

    // A second run changes nothing and raises nothing.
    exec({"insert into bank (REM1, REM2) values('kept', 7)"});
    const auto before = columnsOf("bank");
    EXPECT_NO_THROW(vek.altertabletransactiontable());
    EXPECT_EQ(columnsOf("bank"), before);
    EXPECT_EQ(rows("select REM1, REM2 from bank"), (std::vector<Names>{{"kept", "7"}}));
}

TEST(TransactionTableUpgrade, AMissingTableIsSkippedAndTheRestTakeEffect) {
    TempStore store;
    exec({"DROP TABLE bank"});
    VekClass vek;
    vek.altertabletransactiontable();
    EXPECT_FALSE(tableExists("bank"));
    EXPECT_TRUE(hasColumn("CHARGES", "REM2"));
    EXPECT_TRUE(tableExists("LEDGERACCOUNT"));
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
