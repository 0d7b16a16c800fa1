// Connection strings as the record-store class builds them, and the variants other tools write.

#include <gtest/gtest.h>

#include "engine/ConnectionString.h"

namespace quillet::testing {

TEST(ConnectionString, ReadsKeysInAnyCaseWithSynonymsAndKeepsValuesAsWritten) {
    struct Case {
        std::string text, dataSource, user, password;
    };
    for (const Case& c : std::vector<Case>{
             {"DSN=det;userID= Admin;Password= 09octvel", "det", " Admin", " 09octvel"},
             {" Dsn =x; User ID=someone ;password=a=b;", "x", "someone ", "a=b"},
             {"Driver=x;;garbage;DSN=first;DSN=second;Timeout=5", "first", "", ""},
             {"DSN=det;PWD={se;cr}}et};UID=me", "det", "me", "se;cr}et"},
         }) {
        SCOPED_TRACE(c.text);
        const ConnectionSettings s = parseConnectionString(c.text);
        EXPECT_EQ(s.dataSource, c.dataSource);
        EXPECT_EQ(s.user, c.user);
        EXPECT_EQ(s.password, c.password);
    }
}

}  // namespace quillet::testing
