#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "VekClass.h"
#include "runtime/RuntimeError.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

TEST(Connectx, OpensTheDefaultStoreWithTheDefaultSettings) {
    TempStore store;
    VekClass vek;
    vek.DSNNAME = "elsewhere";
    EXPECT_FALSE(vek.connectx());
    EXPECT_EQ(vek.Con->State(), kStateOpen);
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
}

TEST(Connectx, TheNextFailureOnTheClosedConnectionCarriesTheCause) {
    TempStore store;
    std::filesystem::create_directories(store.folder() / "quillet");
    const auto file = store.folder() / "quillet" / "quillet.db";
    std::ofstream(file) << "a letter saved under the store's name\n";
    VekClass vek;
    vek.connectx();
    const auto failure = [&] {
        try {
            vek.Rs->Open("delete * from EMI", vek.Con.shared(), kOpenKeyset, kLockReadOnly,
                         kCmdUnspecified);
        } catch (const RuntimeError& e) {
            return e.description();
        }
        return std::string("no error");
    };
    EXPECT_EQ(failure(),
              "The connection cannot be used to perform this operation. It is either closed or "
              "invalid in this context. The data store '" +
                  file.string() + "' cannot be opened: file is not a database");
    // Once the store opens again, a closed connection has no cause to tell.
    std::filesystem::remove(file);
    vek.connectx();
    vek.Con->Close();
    EXPECT_EQ(failure(),
              "The connection cannot be used to perform this operation. It is either closed or "
              "invalid in this context.");
}

}  // namespace
}  // namespace quillet::testing
