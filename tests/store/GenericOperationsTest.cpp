#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "VekClass.h"
#include "runtime/RuntimeError.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using Items = std::vector<std::string>;

TEST(Connectx, OpensTheDefaultStoreWithTheDefaultSettingsOnEveryCall) {
    TempStore store;
    VekClass vek;
    vek.DSNNAME = "elsewhere";
    EXPECT_FALSE(vek.connectx());
    // A second call closes the first connection and opens it again.
    EXPECT_FALSE(vek.connectx());
    EXPECT_EQ(vek.Con->State(), kStateOpen);
    EXPECT_EQ(vek.Con->ConnectionString(), "DSN=det;userID= Admin;Password= 09octvel");
    EXPECT_TRUE(store.shown().empty());
}

// A data folder that is no folder is covered with the programs that open the store
// (app/gui CalculateRun, app/cli ScheduleTool).
TEST(Connectx, AnUnusableStoreIsSaidOncePerCallAndTheNextFailureCarriesTheCause) {
    TempStore store;
    std::filesystem::create_directories(store.folder() / "quillet");
    const auto file = store.folder() / "quillet" / "quillet.db";
    std::ofstream(file) << "a letter saved under the store's name\n";
    VekClass vek;
    vek.connectx();
    vek.connectx();
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    ASSERT_EQ(store.shown().size(), 2u);
    EXPECT_EQ(store.shown()[1].prompt,
              "Please select Database : remember.mdb and restart Application");
    const auto failure = [&] {
        try {
            vek.Rs->Open("delete * from EMI", vek.Con.shared(), kOpenKeyset, kLockReadOnly,
                         kCmdUnspecified);
        } catch (const RuntimeError& e) {
            return e.description();
        }
        return std::string("no error");
    };
    const std::string closed =
        "The connection cannot be used to perform this operation. It is either closed or invalid "
        "in this context.";
    EXPECT_EQ(failure(), closed + " The data store '" + file.string() +
                             "' cannot be opened: file is not a database");
    // Once the store opens again, a closed connection has no cause to tell.
    std::filesystem::remove(file);
    vek.connectx();
    vek.Con->Close();
    EXPECT_EQ(failure(), closed);
}

class GenericOperations : public ::testing::Test {
protected:
    void SetUp() override {
        exec({"CREATE TABLE Sample (N NUMBER, T TEXT(50), D DATE, X TEXT(10))",
              "insert into Sample values(42, '12.5', #25/Mar/1970#, 'abc')",
              "insert into Sample values(Null, Null, Null, Null)",
              "CREATE TABLE Names (NAME_ TEXT(50), Code NUMBER)",
              "insert into Names values('B', 1)", "insert into Names values('A', 2)",
              "insert into Names values('B', 3)", "insert into Names values(Null, 4)",
              "insert into Names values('O''BRIEN', 5)"});
        for (auto& box : boxes) {
            box = FakeControl::textBox("old");
        }
    }
    void findSeven(const std::string& query) {
        vek.FindSevenValue(query, boxes[0], boxes[1], boxes[2], boxes[3], boxes[4], boxes[5],
                           boxes[6]);
    }
    TempStore store;
    VekClass vek;
    std::array<std::shared_ptr<FakeControl>, 7> boxes;
    std::shared_ptr<FakeList> list = std::make_shared<FakeList>();
};

TEST_F(GenericOperations, FindOneValueReadsTheFirstColumnAsTextOrNothingAndExecutexTellsIfItRan) {
    EXPECT_EQ(vek.FindOneValue("select D from Sample where N = 42"), "25/03/1970");
    EXPECT_EQ(vek.FindOneValue("select T, N from Sample where N = 42"), "12.5");
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N = 7"), "");
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N is null"), "");
    EXPECT_EQ(vek.FindOneValue("select nonsense from"), "");
    // The double reads numeric text, else 0.
    EXPECT_EQ(vek.FindOneValueDouble("select T from Sample where N = 42"), 12.5);
    EXPECT_EQ(vek.FindOneValueDouble("select X from Sample where N = 42"), 0.0);
    EXPECT_EQ(vek.FindOneValueDouble("select N from Sample where N is null"), 0.0);

    EXPECT_TRUE(vek.Executex("Delete * from Sample where N = 42"));
    EXPECT_FALSE(vek.Executex("Delete * frm Sample"));
    EXPECT_EQ(countRows("Sample"), 1);
    EXPECT_TRUE(store.shown().empty());
}

// A column type carrying further statements is refused by the dialect (DdlTranslation).
TEST_F(GenericOperations, AColumnRebuildThatFailsHalfwayLeavesNoCopyAndNoChange) {
    // A rebuild that fails halfway (a Null into NOT NULL) leaves neither its copy nor a change.
    EXPECT_EQ(vek.FindOneValue("alter table Sample alter column N number not null"), "");
    EXPECT_EQ(rows("select count(*) from sqlite_master where name like '%rebuild%'"),
              (std::vector<Items>{{"0"}}));
    EXPECT_EQ(rows("select type, \"notnull\" from pragma_table_info('Sample') where name = 'N'"),
              (std::vector<Items>{{"NUMBER", "0"}}));
}

TEST_F(GenericOperations, FindSevenValueFillsSevenControlsOrRaisesAtTheFirstMissingColumn) {
    findSeven("select N, T, D, X, N, T, X from Sample where N = 42");
    EXPECT_EQ(boxes[2]->text(), "25/03/1970");
    EXPECT_EQ(boxes[6]->text(), "abc");

    boxes[5] = FakeControl::textBox("old");
    EXPECT_THROW(findSeven("select N, T, D, X, N from Sample where N = 42"), RuntimeError);
    EXPECT_EQ(boxes[4]->text(), "42");
    EXPECT_EQ(boxes[5]->text(), "old");
}

TEST_F(GenericOperations, ShowInGridAsPerQueryBindsTheGrid) {
    auto grid = std::make_shared<FakeGrid>();
    EXPECT_THROW(vek.ShowInGridAsPerQuery("select * from Sample"), RuntimeError);
    vek.setQueryGrid(grid);
    vek.ShowInGridAsPerQuery("select * from Sample");
    ASSERT_TRUE(grid->source);
    EXPECT_EQ(grid->source->RecordCount(), 2);
    EXPECT_FALSE(vek.Con.created());  // its own connection, not the member
    // A failing query raises, and leaves the grid unbound.
    EXPECT_THROW(vek.ShowInGridAsPerQuery("select * from Missing"), RuntimeError);
    EXPECT_FALSE(grid->source);
}

TEST_F(GenericOperations, TheListsHoldDistinctValuesWithoutNullsAndSelectTheFirst) {
    list->AddItem("stale");
    vek.Fill("NAME_", "Names", "NAME_", "asc", list);
    EXPECT_EQ(list->items, (Items{"A", "B", "O'BRIEN"}));
    EXPECT_EQ(list->index, 0);
    vek.Fill("NAME_", "Names", "NAME_", "DESC", list);
    EXPECT_EQ(list->items, (Items{"O'BRIEN", "B", "A"}));
    EXPECT_THROW(vek.Fill("NAME_", "Names", "NAME_", "asc", nullptr), RuntimeError);
    // Pieces the engine itself would take ("distinct(1)" lists the number 1, "desc limit 1" one
    // name) are refused before any SQL runs, so the list stays empty.
    vek.Fill("1", "Names", "NAME_", "asc", list);
    EXPECT_TRUE(list->items.empty());
    vek.Fill("NAME_", "Names", "NAME_", "desc limit 1", list);
    EXPECT_TRUE(list->items.empty());
    EXPECT_TRUE(store.shown().empty());

    // FillAsQuery matches contained text safely; FillAsQueryTwo takes the first column.
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "'B");
    EXPECT_EQ(list->items, (Items{"O'BRIEN"}));
    EXPECT_EQ(list->index, 0);
    vek.FillAsQuery("NAME_", "Names", "NAME_", "asc", list, "zzz");
    EXPECT_EQ(list->index, -1);

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
