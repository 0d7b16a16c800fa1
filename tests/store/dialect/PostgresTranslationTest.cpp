// The same Access statements translated for a PostgreSQL server.
#include <gtest/gtest.h>

#include "dialect/AccessTranslator.h"

namespace quillet::testing {

// The translator's tests speak in its own terms (Translation, Parameter, Target).
using namespace quillet::dialect;
namespace {

using Lines = std::vector<std::string>;

Lines forPostgres(const std::string& statement) {
    Lines sql;
    for (const EngineStatement& s : translate(statement, Target::PostgreSQL).statements) {
        sql.push_back(s.sql);
    }
    return sql;
}

TEST(PostgresTranslation, StatementsTakeTheServersFormsAndKeepTheirLiteralsLifted) {
    const struct {
        const char* access;
        const char* postgres;
    } cases[] = {
        {"Delete * from EMI", "DELETE FROM EMI"},
        {"select * from Visitor where DateOfVisit = #05/Mar/2024# and NAME_ Like '%o''b%'",
         "select * from Visitor where DateOfVisit = '2024-03-05' and NAME_ ILIKE '%o''b%' ESCAPE "
         "''"},
        {"select NAME_ from EmpDetail where NAME_ not like 'a%' order by [NAME_] asc",
         "select NAME_ from EmpDetail where NAME_ not ILIKE 'a%' ESCAPE '' order by \"name_\" asc"},
        // Only '%' and '_' are wildcards: a backslash is a character, whatever the pattern is
        // made of; an escape the statement names itself stays.
        {"select a from T where (a Like '%\\b' || [Col]) or b like t.c escape '!'",
         "select a from T where (a ILIKE '%\\b' || \"col\" ESCAPE '') or b ILIKE t.c escape '!'"},
        {"select a from T where a like lower( b ) and c = 1",
         "select a from T where a ILIKE lower( b ) ESCAPE '' and c = 1"},
        {"insert into EMI values(1,1000,5,6,994,#01/Jan/2024#)",
         "insert into EMI values(?,?,?,?,?,?)"},
        // A text that merely looks like a keyword stays as written.
        {"UPDATE Cable SET Remarks = 'like [x]' WHERE CableNum = 'C-1'",
         "UPDATE Cable SET Remarks = ? WHERE CableNum = 'C-1'"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(forPostgres(c.access), Lines{c.postgres}) << c.access;
    }
}

TEST(PostgresTranslation, ColumnTypesIgnoreCaseKeepWholeNumbersAndDatesCarryTimes) {
    EXPECT_EQ(forPostgres("CREATE TABLE Probe (SN NUMBER, Name TEXT(50), Born DATE, Amount "
                          "DOUBLE, Code Integer, Note text)"),
              Lines{"CREATE TABLE Probe (SN numeric, Name citext, Born timestamp(0), Amount "
                    "double precision, Code bigint, Note citext)"});
    // The default schema's own declarations (already with their collation) translate alike.
    EXPECT_EQ(forPostgres("CREATE TABLE EMI (\n    SN INTEGER,\n    REMARK TEXT(255) COLLATE "
                          "NOCASE\n)"),
              Lines{"CREATE TABLE EMI (\n    SN bigint,\n    REMARK citext\n)"});
    EXPECT_EQ(forPostgres("alter TABLE CHARGES  add column REM1 text (50) ,REM2 Integer "),
              (Lines{"ALTER TABLE CHARGES ADD COLUMN REM1 citext",
                     "ALTER TABLE CHARGES ADD COLUMN REM2 bigint"}));

    const Translation alter =
        translate("alter TABLE HolidayTable Alter column REMARK text (101)  ;", Target::PostgreSQL);
    ASSERT_TRUE(alter.alterColumn);
    EXPECT_EQ(alter.alterColumn->type, "citext");
    EXPECT_EQ(translate("alter TABLE T Alter column D date", Target::PostgreSQL).alterColumn->type,
              "timestamp(0)");
}

}  // namespace
}  // namespace quillet::testing
