// Connection strings as the record-store class builds them, and the variants other tools write.

#include <gtest/gtest.h>

#include "engine/ConnectionString.h"

namespace quillet {

TEST(ConnectionString, KeepsValuesExactlyAsWritten) {
    const ConnectionSettings s = parseConnectionString("DSN=det;userID= Admin;Password= 09octvel");
    EXPECT_EQ(s.dataSource, "det");
    EXPECT_EQ(s.user, " Admin");
    EXPECT_EQ(s.password, " 09octvel");
}

TEST(ConnectionString, MatchesKeysWithoutRegardToCaseAndKnowsTheirSynonyms) {
    ConnectionSettings s = parseConnectionString("dsn=Store;UID=u;PWD=p");
    EXPECT_EQ(s.dataSource, "Store");
    EXPECT_EQ(s.user, "u");
    EXPECT_EQ(s.password, "p");

    s = parseConnectionString(" Dsn =x; User ID=someone ;password=a=b;");
    EXPECT_EQ(s.dataSource, "x");
    EXPECT_EQ(s.user, "someone ");
    EXPECT_EQ(s.password, "a=b");
}

TEST(ConnectionString, IgnoresWhatItDoesNotKnowAndKeepsTheFirstOfARepeatedKey) {
    const ConnectionSettings s =
        parseConnectionString("Driver=x;;garbage;DSN=first;DSN=second;Timeout=5");
    EXPECT_EQ(s.dataSource, "first");
    EXPECT_EQ(s.user, "");
    EXPECT_EQ(s.password, "");
    EXPECT_EQ(parseConnectionString("").dataSource, "");
}

TEST(ConnectionString, ABracedValueMayHoldSeparators) {
    const ConnectionSettings s = parseConnectionString("DSN=det;PWD={se;cr}}et};UID=me");
    EXPECT_EQ(s.password, "se;cr}et");
    EXPECT_EQ(s.user, "me");
}

}  // namespace quillet
