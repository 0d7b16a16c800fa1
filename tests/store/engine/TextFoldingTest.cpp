// The embedded store's case folding: the rule itself, and a store file that stays readable and
// whole for the stock sqlite3 shell.

#include <gtest/gtest.h>

#include "engine/sqlite/TextFolding.h"
#include "store/engine/EngineContract.h"
#include "support/StoreAccess.h"

namespace quillet::testing {

namespace {

using quillet::sqlite::compareIgnoringCase;
using quillet::sqlite::foldCase;
using quillet::sqlite::likeMatches;

}  // namespace

TEST(TextFolding, FoldsEveryLetterThatHasACaseOneForOne) {
    // Both forms of sigma, the long s and the Kelvin sign fold as their letters do; in runs that
    // alternate capital and small letter every other code point folds. Letters without a case,
    // and one whose folding is two letters, stay as they are.
    const std::u32string letters = U"ÉЖΣςſ\u212AĀāअß@[";
    const std::u32string folded = U"éжσσskāāअß@[";
    for (std::size_t i = 0; i < letters.size(); ++i) {
        EXPECT_EQ(foldCase(letters[i]), folded[i]) << static_cast<std::uint32_t>(letters[i]);
    }
}

TEST(TextFolding, ComparesFoldedLettersAndOrdersAsciiAsSqliteDoes) {
    EXPECT_EQ(compareIgnoringCase("ÉMILE", "émile"), 0);
    EXPECT_NE(compareIgnoringCase("émile", "emile"), 0);
    EXPECT_NE(compareIgnoringCase("straße", "strasse"), 0);
    // SQLite's NOCASE compares lower-cased bytes: '_' (0x5F) sorts before 'A' ('a', 0x61).
    EXPECT_LT(compareIgnoringCase("_", "A"), 0);
    EXPECT_LT(compareIgnoringCase("ab", "ABC"), 0);
    // A byte that is no UTF-8 still orders, after every character.
    EXPECT_GT(compareIgnoringCase("\xff", "\xf4\x8f\xbf\xbf"), 0);
    EXPECT_EQ(compareIgnoringCase("a\xff", "A\xff"), 0);
}

// A backslash in a pattern is covered through the store; here several percent signs backtrack
// and an escape is honoured only when one is named.
TEST(TextFolding, LikeHasTwoWildcardsAndAnOptionalEscape) {
    EXPECT_TRUE(likeMatches("_", "é"));
    EXPECT_FALSE(likeMatches("__", "é"));
    EXPECT_TRUE(likeMatches("%É%L_", "Émile"));
    EXPECT_TRUE(likeMatches("a%b%c", "aXbYbZc"));
    EXPECT_FALSE(likeMatches("a%b%c", "aXbYbZ"));
    EXPECT_FALSE(likeMatches("", "a"));
    EXPECT_TRUE(likeMatches("%%", ""));
    EXPECT_TRUE(likeMatches("100!%", "100%", U'!'));
    EXPECT_FALSE(likeMatches("100!%", "1000", U'!'));
    EXPECT_FALSE(likeMatches("ab!", "ab", U'!'));
}

TEST(TextFolding, TheStoreFileStaysWholeAndReadableForTheStockShell) {
    quillet::testing::TempStore home;
    auto con = quillet::testing::openDefaultStore();
    run(con, "insert into Cable (CableNum, ConnDesc) values('É-1','Émile')");
    run(con, "insert into Cable (CableNum, ConnDesc) values('é-2','émile')");
    EXPECT_EQ(count(con, "Cable where ConnDesc = 'ÉMILE'"), 2);
    con->Close();
    const std::filesystem::path file = home.folder() / "quillet" / "quillet.db";
    EXPECT_EQ(shell(file, "pragma integrity_check"), "ok\n");
    // The schema names only collations every SQLite has; the shell itself folds A to Z only.
    EXPECT_EQ(shell(file, "select count(*) from Cable where ConnDesc = 'ÉMILE'"), "1\n");
    EXPECT_EQ(shell(file, "select count(*) from Cable where ConnDesc = 'émile'"), "1\n");
}

}  // namespace quillet::testing
