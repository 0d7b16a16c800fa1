#include <gtest/gtest.h>

#include <array>

#include "VekClass.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

class GenericOperations : public ::testing::Test {
protected:
    void SetUp() override {
        exec({"CREATE TABLE Sample (N NUMBER, T TEXT(50), D DATE, X TEXT(10))",
              "insert into Sample values(42, '12.5', #25/Mar/1970#, 'abc')",
              "insert into Sample values(Null, Null, Null, Null)"});
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
};

TEST_F(GenericOperations, FindOneValueReadsTheFirstColumnAsTextOrNothing) {
    EXPECT_EQ(vek.FindOneValue("select D from Sample where N = 42"), "25/03/1970");
    EXPECT_EQ(vek.FindOneValue("select T, N from Sample where N = 42"), "12.5");
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N = 7"), "");
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N is null"), "");
    EXPECT_EQ(vek.FindOneValue("select nonsense from"), "");
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(GenericOperations, FindOneValueNeverRunsStatementsSmuggledIntoAColumnType) {
    EXPECT_EQ(vek.FindOneValue("alter table EMI alter column SN integer); commit; drop table "
                               "Visitor; begin; create table zz (a"),
              "");
    EXPECT_TRUE(testing::tableExists("Visitor"));
    EXPECT_FALSE(testing::tableExists("zz"));
    // A rebuild that fails halfway (a Null into NOT NULL) leaves neither its copy nor a change.
    EXPECT_EQ(vek.FindOneValue("alter table Sample alter column N number not null"), "");
    EXPECT_EQ(testing::rows("select count(*) from sqlite_master where name like '%rebuild%'"),
              (std::vector<std::vector<std::string>>{{"0"}}));
    EXPECT_EQ(testing::rows("select type, \"notnull\" from pragma_table_info('Sample') where "
                            "name = 'N'"),
              (std::vector<std::vector<std::string>>{{"NUMBER", "0"}}));
}

TEST_F(GenericOperations, FindOneValueDoubleReadsNumericTextElseZero) {
    EXPECT_EQ(vek.FindOneValueDouble("select T from Sample where N = 42"), 12.5);
    EXPECT_EQ(vek.FindOneValueDouble("select X from Sample where N = 42"), 0.0);
    EXPECT_EQ(vek.FindOneValueDouble("select N from Sample where N is null"), 0.0);
}

TEST_F(GenericOperations, ExecutexTellsWhetherTheStatementRan) {
    EXPECT_TRUE(vek.Executex("Delete * from Sample where N = 7"));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_FALSE(vek.Executex("Delete * frm Sample"));
    EXPECT_EQ(vek.Con->State(), kStateOpen);  // the failure skipped the close
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(GenericOperations, FindSevenValueFillsSevenControlsOrRaisesAtTheFirstMissingColumn) {
    findSeven("select N, T, D, X, N, T, X from Sample where N = 42");
    EXPECT_EQ(boxes[2]->text(), "25/03/1970");
    EXPECT_EQ(boxes[6]->text(), "abc");

    for (auto& box : boxes) {
        box = FakeControl::textBox("old");
    }
    EXPECT_THROW(findSeven("select N, T, D, X, N from Sample where N = 42"), RuntimeError);
    EXPECT_EQ(boxes[4]->text(), "42");
    EXPECT_EQ(boxes[5]->text(), "old");
    EXPECT_EQ(vek.Con->State(), kStateOpen);
}

TEST_F(GenericOperations, ShowInGridAsPerQueryBindsTheGrid) {
    auto grid = std::make_shared<FakeGrid>();
    EXPECT_THROW(vek.ShowInGridAsPerQuery("select * from Sample"), RuntimeError);
    vek.setQueryGrid(grid);
    vek.ShowInGridAsPerQuery("select * from Sample");
    ASSERT_TRUE(grid->source);
    EXPECT_EQ(grid->source->RecordCount(), 2);
    EXPECT_EQ(grid->widths, (std::map<int, int>{{0, 4000}, {1, 4000}}));
    EXPECT_FALSE(vek.Con.created());  // its own connection, not the member
    // A failing query raises, and leaves the grid unbound.
    EXPECT_THROW(vek.ShowInGridAsPerQuery("select * from Missing"), RuntimeError);
    EXPECT_FALSE(grid->source);
}

}  // namespace
}  // namespace quillet::testing
