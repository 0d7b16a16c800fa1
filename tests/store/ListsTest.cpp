#include <gtest/gtest.h>

#include <array>

#include "VekClass.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Items = std::vector<std::string>;

class Lists : public ::testing::Test {
protected:
    void SetUp() override {
        exec({"CREATE TABLE Names (NAME_ TEXT(50), Code NUMBER)",
              "insert into Names values('B', 1)", "insert into Names values('A', 2)",
              "insert into Names values('B', 3)", "insert into Names values(Null, 4)",
              "insert into Names values('O''BRIEN', 5)"});
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
    EXPECT_THROW(vek.Fill("NAME_", "Names", "NAME_", "asc", nullptr), RuntimeError);
}

// Pieces the engine itself would take ("distinct(1)" lists the number 1, "desc limit 1" one
// name): refused before any SQL runs, so the list stays empty.
TEST_F(Lists, NamesThatAreNotIdentifiersRunNothing) {
    vek.Fill("1", "Names", "NAME_", "asc", list);
    EXPECT_TRUE(list->items.empty());
    vek.Fill("NAME_", "Names", "NAME_", "desc limit 1", list);
    EXPECT_TRUE(list->items.empty());
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(Lists, FillAsQueryMatchesContainedTextSafely) {
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "'B");
    EXPECT_EQ(list->items, (Items{"O'BRIEN"}));
    EXPECT_EQ(list->index, 0);
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "zzz");
    EXPECT_EQ(list->index, -1);
}

TEST_F(Lists, FillAsQueryTwoTakesTheFirstColumnOfEveryRow) {
    vek.FillAsQueryTwo(list, "select NAME_, Code from Names where Code < 4 order by Code");
    EXPECT_EQ(list->items, (Items{"B", "A", "B"}));
    vek.FillAsQueryTwo(list, "select broken");
    EXPECT_TRUE(list->items.empty());
}

TEST(Calendar, MonthLengthsAndNames) {
    VekClass vek;
    const std::vector<std::array<long, 3>> cases = {
        {2000, 2, 29}, {1900, 2, 28}, {2023, 2, 28}, {2023, 12, 31}, {2023, 13, 30}};
    for (const auto& [year, month, days] : cases) {
        EXPECT_EQ(vek.GetLastDayOfMonth(year, month), days) << year << "/" << month;
    }
    EXPECT_EQ(vek.GetMonth(Date{2031, 8, 15}), "Aug");
}

}  // namespace
}  // namespace quillet::testing
