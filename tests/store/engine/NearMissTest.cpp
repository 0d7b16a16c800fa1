// Cases where a plausible slip still passes the common path: long texts, names in brackets,
// a column altered to a date and back.

#include <gtest/gtest.h>

#include "store/engine/EngineContract.h"

namespace quillet::testing {

namespace {

// Over 511 bytes (a common fixed buffer for a column value), with a character of three bytes
// lying across that boundary.
std::string longText() {
    std::string text(510, 'x');
    text += "अनिल";
    while (text.size() < 2100) {
        text += " O'Brien अनिल";
    }
    return text;
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text) {
        out += c == '\'' ? std::string("''") : std::string(1, c);
    }
    return out + "'";
}

}  // namespace

TEST_P(EngineContract, ALongTextComesBackUnchanged) {
    auto con = connect();
    createProbe(con);
    const std::string text = longText();
    run(con, "insert into Probe (SN, Name) values(1," + quoted(text) + ")");
    EXPECT_EQ(scalar(con, "select Name from Probe"), Variant(text));
    run(con, "UPDATE Probe SET Name = " + quoted(text + "!") + " WHERE SN = 1");
    EXPECT_EQ(scalar(con, "select Name from Probe where SN = 1"), Variant(text + "!"));
    EXPECT_EQ(count(con, "Probe where Name = " + quoted(text + "!")), 1);
}

TEST_P(EngineContract, ABracketedNameFindsItsColumn) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'Zoë',#01/Jan/2024#,1.5,2)");
    EXPECT_EQ(scalar(con, "select [Name] from [Probe] where [Name] = 'zoë'"), Variant("Zoë"));
    run(con, "UPDATE Probe SET [Amount] = 2.5 WHERE [SN] = 1");
    EXPECT_EQ(scalar(con, "select [Amount] from Probe order by [SN] asc"), Variant(2.5));
}

TEST_P(EngineContract, ANumberAlteredToADateAndBackKeepsItsDay) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(45292,'a',#01/Jan/2024#,1.5,2)");
    run(con, "insert into Probe values(45658.5,'b',#01/Jan/2024#,1.5,2)");
    if (GetParam().name == "SqliteOdbc") {
        GTEST_SKIP() << "known failure in the ODBC session on a SQLite file: Alter column to DATE "
                        "keeps the numbers as the texts '45292' and '45658.5'";
    }
    run(con, "alter TABLE Probe Alter column SN date");
    EXPECT_EQ(
        firstColumn(con, "select SN from Probe order by Name"),
        (std::vector<Variant>{Variant(Date{2024, 1, 1}), Variant(Date{2025, 1, 1, 12, 0, 0})}));
    if (GetParam().name == "Embedded") {
        GTEST_SKIP() << "known failure in the embedded session: Alter column from DATE back to "
                        "NUMBER keeps the dates instead of their day numbers";
    }
    run(con, "alter TABLE Probe Alter column SN NUMBER");
    EXPECT_EQ(firstColumn(con, "select SN from Probe order by Name"),
              (std::vector<Variant>{Variant(std::int32_t{45292}), Variant(45658.5)}));
}

}  // namespace quillet::testing
