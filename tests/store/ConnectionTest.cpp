#include <gtest/gtest.h>

#include <fstream>

#include "VekClass.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

using testing::TempStore;

TEST(Connectx, OpensTheDefaultStoreWithTheDefaultSettings) {
    TempStore store;
    VekClass vek;
    vek.DSNNAME = "elsewhere";
    EXPECT_FALSE(vek.connectx());
    EXPECT_EQ(vek.Con->State(), kStateOpen);
    EXPECT_EQ(vek.DSNNAME.toString(), "det");
    EXPECT_EQ(vek.userID.toString(), "Admin");
    EXPECT_EQ(vek.Con->ConnectionString(), "DSN=det;userID= Admin;Password= 09octvel");
    EXPECT_TRUE(store.shown().empty());
    // A second call closes the first connection and opens it again.
    EXPECT_FALSE(vek.connectx());
    EXPECT_EQ(vek.Con->State(), kStateOpen);
}

TEST(Connectx, AnUnusableStoreShowsTheSelectDatabaseMessageOncePerCall) {
    TempStore store;
    // A regular file where the data folder should be: the store cannot be created.
    std::ofstream(store.folder() / "quillet") << "not a folder";
    VekClass vek;
    EXPECT_FALSE(vek.connectx());
    EXPECT_FALSE(vek.connectx());
    EXPECT_EQ(vek.Con->State(), kStateClosed);
    ASSERT_EQ(store.shown().size(), 2u);
    EXPECT_EQ(store.shown()[0].prompt,
              "Please select Database : remember.mdb and restart Application");
    EXPECT_EQ(store.shown()[0].title, "Select database");
    EXPECT_EQ(store.shown()[0].buttons, 64);
}

}  // namespace
}  // namespace quillet
