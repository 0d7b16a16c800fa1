// The statements the program and its record operations send, as they are written, against the
// engine SQL and the parameters they must become.
#include <gtest/gtest.h>

#include "TranslationMatchers.h"

namespace quillet::testing {
namespace {

struct Case {
    const char* name;
    std::string input;
    std::string sql;
    std::string table;  // of the parameters
    std::vector<Expected> parameters;
    bool returnsRows = false;
};

/// A query the engine takes as written, date literals aside.
Case query(const char* name, const std::string& input, const std::string& sql = {}) {
    return {name, input, sql.empty() ? input : sql, "", {}, true};
}

/// A change that lifts no values.
Case change(const char* name, const std::string& input, const std::string& sql) {
    return {name, input, sql, "", {}};
}

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.input;
}

class StatementTranslation : public ::testing::TestWithParam<Case> {};

TEST_P(StatementTranslation, GivesEngineSqlAndParameters) {
    const Case& c = GetParam();
    const Translation t = translate(c.input);
    ASSERT_EQ(t.statements.size(), 1u);
    EXPECT_FALSE(t.alterColumn);
    EXPECT_EQ(t.statements[0].sql, c.sql);
    EXPECT_EQ(t.returnsRows, c.returnsRows);
    expectParameters(t.statements[0], c.table, c.parameters);
}

const std::string kHindiName = "\u0938\u0941\u0930\u0947\u0936 \u0915\u0941\u092e\u093e\u0930";

INSTANTIATE_TEST_SUITE_P(
    Queries, StatementTranslation,
    ::testing::Values(
        query("HashInsideTextStaysText", "Select  * from T where A = 'no # date' and [b#] = 1"),
        // Glued together the engine would read one text "a'2024-01-01".
        query("DateRightAfterTextStaysADate", "select 'a'#1/1/2024#", "select 'a' '2024-01-01'"),
        query("ParenthesisedSelect", "(SELECT SN FROM EMI) UNION (SELECT SN FROM EMI)"),
        query("With", "WITH x AS (SELECT 1 AS a) SELECT a FROM x"),
        query("TrailingSemicolonsAndBlanks", "  Select * from EMI ;  ;\n", "Select * from EMI"),
        query("MinusMinusIsNoComment", "select 5--3, 6/*2 from EMI",
              "select 5- -3, 6/ *2 from EMI")),
    [](const auto& p) { return p.param.name; });

INSTANTIATE_TEST_SUITE_P(
    Changes, StatementTranslation,
    ::testing::Values(
        Case{"InsertMedicalQuotedDateStaysText",
             "insert into MedicalRecord values(4,'F-1',#05/03/2024#,2,'" + kHindiName +
                 "','d''Souza',1500.5,'07/03/2024',1200,'')",
             "insert into MedicalRecord values(?,?,?,?,?,?,?,?,?,?)",
             "MedicalRecord",
             {number("4"), text("F-1"), date("2024-03-05"), number("2"), text(kHindiName),
              text("d'Souza"), number("1500.5"), text("07/03/2024"), number("1200"), text("")}},
        Case{"InsertColumnsSignsAndExpressions",
             "insert into [Pay Sheet] ([Net Pay], \"Code\", SN, Remark) values( -5 , + 2.5e3 ,"
             " SN+1, Null)",
             "insert into [Pay Sheet] ([Net Pay], \"Code\", SN, Remark) values( ? , ? , SN+1, "
             "Null)",
             "Pay Sheet",
             {number("-5", "Net Pay"), number("+2.5e3", "Code")}},
        Case{"UpdateWithQuotedDateHashDateAndHindi",
             "UPDATE EmpDetail SET NAME_ = 'O''Neil', Datex = '1970-03-25', DAYX = 25, "
             "Joined = #25/Mar/1970#, NameHindi = '" +
                 kHindiName + "' WHERE SN = 17",
             "UPDATE EmpDetail SET NAME_ = ?, Datex = ?, DAYX = ?, Joined = ?, NameHindi = ? "
             "WHERE SN = 17",
             "EmpDetail",
             {text("O'Neil", "NAME_"), text("1970-03-25", "Datex"), number("25", "DAYX"),
              date("1970-03-25", "Joined"), text(kHindiName, "NameHindi")}},
        change("UpdateKeepsExpressionsAndWhereLiterals",
               "UPDATE T SET t.a = a + 1, b = (SELECT max(SN) FROM T WHERE c = 'x'), d = Null "
               "WHERE e = 'y' AND f = #1/1/2024#",
               "UPDATE T SET t.a = a + 1, b = (SELECT max(SN) FROM T WHERE c = 'x'), d = Null "
               "WHERE e = 'y' AND f = '2024-01-01'"),
        // The month number names no column: the engine must refuse it, so nothing is lifted.
        change("UpdateOfNoColumnPassesAsWritten",
               "UPDATE ManPower SET  3 = 1 WHERE Name_ = 'a' and  Month_ = 3 and Year_ = 2024",
               "UPDATE ManPower SET  3 = 1 WHERE Name_ = 'a' and  Month_ = 3 and Year_ = 2024")),
    [](const auto& p) { return p.param.name; });

// The engine keeps one prepared statement per SQL text; a whole schedule must share one.
TEST(StatementTranslation, EveryScheduleRowSharesOneStatement) {
    const std::string first =
        translate("insert into EMI values(1,1000000,5000,6102,993898,#01/Jan/2024#)")
            .statements.at(0)
            .sql;
    for (const char* row :
         {"insert into EMI values(2,993898,4969.49,6133.51,987764.49,#1/Feb/2024#)",
          "insert into EMI values(32767,-0.5,.5,-1e-3,5.,#2024-03-01 10:00#)"}) {
        EXPECT_EQ(translate(row).statements.at(0).sql, first) << row;
    }
}

}  // namespace
}  // namespace quillet::testing
