#include <gtest/gtest.h>

#include "VekClass.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

using testing::exec;
using testing::FakeControl;
using testing::FakeGrid;
using testing::TempStore;

class GenericOperations : public ::testing::Test {
protected:
    void SetUp() override {
        exec({"CREATE TABLE Sample (N NUMBER, T TEXT(50), D DATE, X TEXT(10))",
              "insert into Sample values(42, '12.5', #25/Mar/1970#, 'abc')",
              "insert into Sample values(Null, Null, Null, Null)"});
    }
    TempStore store;
    VekClass vek;
};

TEST_F(GenericOperations, FindOneValueReadsTheFirstColumnAsText) {
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N = 42"), "42");
    EXPECT_EQ(vek.FindOneValue("select D from Sample where N = 42"), "25/03/1970");
    EXPECT_EQ(vek.FindOneValue("select T, N from Sample where N = 42"), "12.5");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(GenericOperations, FindOneValueGivesEmptyTextForNothing) {
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N = 7"), "");
    EXPECT_EQ(vek.FindOneValue("select N from Sample where N is null"), "");
    EXPECT_EQ(vek.FindOneValue("select nonsense from"), "");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(GenericOperations, FindOneValueDoubleReadsNumbersAndNumericText) {
    EXPECT_EQ(vek.FindOneValueDouble("select T from Sample where N = 42"), 12.5);
    EXPECT_EQ(vek.FindOneValueDouble("select N from Sample where N = 42"), 42.0);
    EXPECT_EQ(vek.FindOneValueDouble("select X from Sample where N = 42"), 0.0);
    EXPECT_EQ(vek.FindOneValueDouble("select N from Sample where N is null"), 0.0);
    EXPECT_EQ(vek.FindOneValueDouble("select N from Sample where N = 7"), 0.0);
}

TEST_F(GenericOperations, ExecutexTellsWhetherTheStatementRan) {
    EXPECT_TRUE(vek.Executex("Delete * from Sample where N = 7"));
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    EXPECT_FALSE(vek.Executex("Delete * frm Sample"));
    EXPECT_EQ(vek.Con->State(), kStateOpen);  // the failure skipped the close
    EXPECT_TRUE(store.shown().empty());
    EXPECT_TRUE(vek.Executex("insert into Sample values(1, 'O''Brien', #01/01/2024#, 'x')"));
    EXPECT_EQ(vek.FindOneValue("select T from Sample where N = 1"), "O'Brien");
    EXPECT_TRUE(vek.str.isEmpty());  // the caller's statement is not kept
}

TEST_F(GenericOperations, FindSevenValueFillsSevenControls) {
    std::vector<std::shared_ptr<FakeControl>> c;
    for (int i = 0; i < 7; ++i) {
        c.push_back(FakeControl::textBox("old"));
    }
    vek.FindSevenValue("select N, T, D, X, N, T, X from Sample where N = 42", c[0], c[1], c[2],
                       c[3], c[4], c[5], c[6]);
    EXPECT_EQ(c[0]->text(), "42");
    EXPECT_EQ(c[2]->text(), "25/03/1970");
    EXPECT_EQ(c[6]->text(), "abc");
    EXPECT_EQ(vek.Con->State(), kStateClosed);
}

TEST_F(GenericOperations, FindSevenValueRaisesAtTheFirstMissingColumn) {
    std::vector<std::shared_ptr<FakeControl>> c;
    for (int i = 0; i < 7; ++i) {
        c.push_back(FakeControl::textBox("old"));
    }
    EXPECT_THROW(vek.FindSevenValue("select N, T, D, X, N from Sample where N = 42", c[0], c[1],
                                    c[2], c[3], c[4], c[5], c[6]),
                 RuntimeError);
    EXPECT_EQ(c[4]->text(), "42");
    EXPECT_EQ(c[5]->text(), "old");
    EXPECT_EQ(c[6]->text(), "old");
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
}  // namespace quillet
