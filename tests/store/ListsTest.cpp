#include <gtest/gtest.h>

#include "VekClass.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

using testing::exec;
using testing::FakeList;
using testing::TempStore;
using Items = std::vector<std::string>;

class Lists : public ::testing::Test {
protected:
    void SetUp() override {
        exec({"CREATE TABLE Names (NAME_ TEXT(50), Code NUMBER)",
              "insert into Names values('B', 1)", "insert into Names values('A', 2)",
              "insert into Names values('B', 3)", "insert into Names values(Null, 4)",
              "insert into Names values('O''BRIEN', 5)", "CREATE TABLE Blank (NAME_ TEXT)"});
    }
    TempStore store;
    VekClass vek;
    std::shared_ptr<FakeList> list = std::make_shared<FakeList>();
};

TEST_F(Lists, FillListsDistinctValuesWithoutNullsAndSelectsTheFirst) {
    list->AddItem("stale");
    vek.Fill("NAME_", "Names", "NAME_", "asc", list);
    EXPECT_EQ(list->items, (Items{"A", "B", "O'BRIEN"}));
    EXPECT_EQ(list->index, 0);
    vek.Fill("NAME_", "Names", "NAME_", "DESC", list);
    EXPECT_EQ(list->items, (Items{"O'BRIEN", "B", "A"}));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(Lists, FillOnAnEmptyTableLeavesBlankSelected) {
    vek.Fill("NAME_", "Blank", "NAME_", "", list);
    EXPECT_TRUE(list->items.empty());
    EXPECT_EQ(list->index, -1);
}

TEST_F(Lists, NamesThatAreNotIdentifiersRunBlank) {
    vek.Fill("NAME_", "Names; drop table Names", "NAME_", "asc", list);
    EXPECT_TRUE(list->items.empty());
    vek.Fill("NAME_", "Names", "NAME_", "asc; delete", list);
    EXPECT_TRUE(list->items.empty());
    EXPECT_EQ(testing::countRows("Names"), 5);
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(Lists, FillAsQueryMatchesContainedTextSafely) {
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "");
    EXPECT_EQ(list->items, (Items{"A", "B", "O'BRIEN"}));
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "'B");
    EXPECT_EQ(list->items, (Items{"O'BRIEN"}));
    EXPECT_EQ(list->index, 0);
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "zzz");
    EXPECT_TRUE(list->items.empty());
    EXPECT_EQ(list->index, -1);
    vek.FillAsQuery("NAME_", "Missing", "NAME_", "asc", list, "");
    EXPECT_TRUE(list->items.empty());
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(Lists, FillAsQueryTwoTakesTheFirstColumnOfEveryRow) {
    vek.FillAsQueryTwo(list, "select NAME_, Code from Names where Code < 4 order by Code");
    EXPECT_EQ(list->items, (Items{"B", "A", "B"}));
    EXPECT_EQ(list->index, 0);
    vek.FillAsQueryTwo(list, "select broken");
    EXPECT_TRUE(list->items.empty());
}

TEST_F(Lists, WithoutAListTheCallerLearnsAtOnce) {
    EXPECT_THROW(vek.Fill("NAME_", "Names", "NAME_", "asc", nullptr), RuntimeError);
}

TEST(Calendar, MonthLengthsAndNames) {
    VekClass vek;
    EXPECT_EQ(vek.GetLastDayOfMonth(2000, 2), 29);
    EXPECT_EQ(vek.GetLastDayOfMonth(1900, 2), 28);
    EXPECT_EQ(vek.GetLastDayOfMonth(2024, 2), 29);
    EXPECT_EQ(vek.GetLastDayOfMonth(2023, 2), 28);
    EXPECT_EQ(vek.GetLastDayOfMonth(2023, 4), 30);
    EXPECT_EQ(vek.GetLastDayOfMonth(2023, 12), 31);
    for (long month : {0L, 13L, -1L}) {
        EXPECT_EQ(vek.GetLastDayOfMonth(2023, month), 30) << month;
    }
    EXPECT_EQ(vek.GetMonth(Date{2031, 8, 15}), "Aug");
    EXPECT_EQ(vek.GetMonth(Date{1999, 1, 1}), "Jan");
}

}  // namespace
}  // namespace quillet
