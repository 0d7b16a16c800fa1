// Cases where a plausible slip still passes the common path: long texts, a column altered to a
// date and back, a query kept ready across a change of its table.

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

// A number column altered to a date and back keeps each day: the fraction is the time of day,
// and before day 0 the day counts down while the time still counts up (-1.5 is noon on the day
// before 30 Dec 1899, not the noon before that). A serial past the calendar's last day is no
// date: that change is refused as a whole and the column keeps its numbers.
TEST_P(EngineContract, ASerialAlteredToADateAndBackKeepsItsDayAndTime) {
    auto con = connect();
    createProbe(con);
    for (const char* row : {"45292,'a',2", "45658.5,'b',2", "-1.5,'c',-3", "-2,'d',2"}) {
        run(con, "insert into Probe (SN, Name, Code) values(" + std::string(row) + ")");
    }
    run(con, "alter TABLE Probe Alter column SN date");
    EXPECT_EQ(
        firstColumn(con, "select SN from Probe order by Name"),
        (std::vector<Variant>{Variant(Date{2024, 1, 1}), Variant(Date{2025, 1, 1, 12, 0, 0}),
                              Variant(Date{1899, 12, 29, 12, 0, 0}), Variant(Date{1899, 12, 28})}));
    run(con, "alter TABLE Probe Alter column SN NUMBER");
    // A whole-number column goes the same way.
    run(con, "alter TABLE Probe Alter column Code date");
    EXPECT_EQ(scalar(con, "select Code from Probe where Name = 'c'"), Variant(Date{1899, 12, 27}));

    run(con, "insert into Probe (SN, Name) values(3000000,'e')");
    EXPECT_EQ(failureOf(con, "alter TABLE Probe Alter column SN date"), err::StoreTypeMismatch);
    run(con, "insert into Probe (SN, Name) values(7,'f')");
    EXPECT_EQ(firstColumn(con, "select SN from Probe order by Name"),
              (std::vector<Variant>{Variant(std::int32_t{45292}), Variant(45658.5), Variant(-1.5),
                                    Variant(std::int32_t{-2}), Variant(std::int32_t{3000000}),
                                    Variant(std::int32_t{7})}));
}

// Dates stored as dates (not as serials a number column left behind) become their serial day
// counts, a time of day as the fraction; no date stays no date.
TEST_P(EngineContract, ADateAlteredToANumberGivesItsSerialAndBack) {
    auto con = connect();
    createProbe(con);
    for (const char* row : {"1,'a',#01/Jan/2024#", "2,'b',45658.25", "3,'c',Null"}) {
        run(con, "insert into Probe (SN, Name, Born) values(" + std::string(row) + ")");
    }
    run(con, "alter TABLE Probe Alter column Born NUMBER");
    EXPECT_EQ(
        firstColumn(con, "select Born from Probe order by SN"),
        (std::vector<Variant>{Variant(std::int32_t{45292}), Variant(45658.25), Variant::null()}));
    EXPECT_EQ(count(con, "Probe where Born > 45292"), 1);
    run(con, "alter TABLE Probe Alter column Born date");
    EXPECT_EQ(firstColumn(con, "select Born from Probe order by SN"),
              (std::vector<Variant>{Variant(Date{2024, 1, 1}), Variant(Date{2025, 1, 1, 6, 0, 0}),
                                    Variant::null()}));
}

// A query kept ready from before a column was added returns the new column too.
TEST_P(EngineContract, AQueryRunAgainAfterAColumnIsAddedSeesIt) {
    auto con = connect();
    createProbe(con);
    run(con, "insert into Probe values(1,'a',#01/Jan/2024#,1.5,2)");
    EXPECT_EQ(query(con, "select * from Probe")->FieldCount(), 5);
    run(con, "alter TABLE Probe add column Remark text(20)");
    run(con, "UPDATE Probe SET Remark = 'late' WHERE SN = 1");
    const auto rs = query(con, "select * from Probe");
    ASSERT_EQ(rs->FieldCount(), 6);
    EXPECT_EQ(rs->FieldName(5), "Remark");
    EXPECT_EQ(rs->Fields(5), Variant("late"));
}

}  // namespace quillet::testing
