// Statements that differ only in their literals, as a Calculate runs one INSERT per month: each
// writes its own values, and a column type changed meanwhile governs the next one.

#include <gtest/gtest.h>

#include "store/engine/EngineContract.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {

TEST(SameShapeStatements, EachWritesItsOwnValuesAsTheTranslatorReadsThemUnderTheTypesOfTheMoment) {
    TempStore home;
    auto con = openDefaultStore();
    con->BeginTrans();
    run(con, "insert into EMI values(1,1000,5,6,994,#31/Jan/2024#)");
    run(con, "insert into EMI values(2,-994.5,5,6,988,#29/02/2024#)");
    run(con, "insert into EMI values(3,994.5,5,6,988,#01-Mar-2024#)");
    run(con, "insert into Cable values(1,'it''s','D','P','B','T','S','R')");
    run(con, "insert into Cable values(2,'plain','D','P','B','T','S','R')");
    // A literal that stays in the statement (the WHERE) must not be remembered with it.
    run(con, "UPDATE EMI SET Interest = 7 WHERE SN = 1");
    run(con, "UPDATE EMI SET Interest = 8 WHERE SN = 2");
    // A date the dialect refuses is refused in a shape already seen as well: day first, so
    // after a date that reads the same either way, the 13th month is no month.
    run(con, "insert into EMI values(4,1,1,1,1,#01/01/2024#)");
    EXPECT_EQ(
        raisedBy([&] { run(con, "insert into EMI values(5,1,1,1,1,#05/13/2024#)"); }).sqlState(),
        "42000");
    con->CommitTrans();

    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(rows("select OpeningBalance, Interest, EMIDate from EMI order by SN"),
              (Rows{{"1000", "7", "31/01/2024"},
                    {"-994.5", "8", "29/02/2024"},
                    {"994.5", "5", "01/03/2024"},
                    {"1", "1", "01/01/2024"}}));
    EXPECT_EQ(rows("select CableNum from Cable order by SN"), (Rows{{"it's"}, {"plain"}}));

    // A column type changed by another connection governs the next row of a shape already seen:
    // bound as a number by the old type, the second code would read "8".
    run(con, "CREATE TABLE Tag (SN NUMBER, Code NUMBER)");
    run(con, "insert into Tag values(1,'007')");
    run(openDefaultStore(), "alter TABLE Tag Alter column Code TEXT(10)");
    run(con, "insert into Tag values(2,'008')");
    EXPECT_EQ(rows("select Code from Tag order by SN"), (Rows{{"7"}, {"008"}}));

    // The shape is read with the translator's own lexing: every number form and every text
    // holding what looks like another literal lands in its column as the translator reads it,
    // whichever statement of the shape came first.
    run(con, "CREATE TABLE Lex (SN NUMBER, Amount DOUBLE, Note TEXT(30))");
    run(con, "insert into Lex values(1,1e3,'a''b')");
    run(con, "insert into Lex values(2,.5,'#01/01/2024#')");
    run(con, "insert into Lex values(3,5.,'1e3')");
    run(con, "insert into Lex values(4,2.5E-3,'''')");
    run(con, "insert into Lex values(5,-7,'[x] \"y\"')");

    EXPECT_EQ(rows("select Amount, Note from Lex order by SN"), (Rows{{"1000", "a'b"},
                                                                      {"0.5", "#01/01/2024#"},
                                                                      {"5", "1e3"},
                                                                      {"0.0025", "'"},
                                                                      {"-7", "[x] \"y\""}}));
}

}  // namespace quillet::testing
