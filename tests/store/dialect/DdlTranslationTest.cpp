// The schema-upgrade statements, sent exactly as written, and the column types of the dialect.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TranslationMatchers.h"

namespace quillet::testing {
namespace {

using Lines = std::vector<std::string>;

Lines sqlOf(const std::string& statement) {
    const Translation t = translate(statement);
    EXPECT_FALSE(t.alterColumn) << statement;
    EXPECT_FALSE(t.returnsRows) << statement;
    Lines sql;
    for (const EngineStatement& s : t.statements) {
        EXPECT_TRUE(s.parameters.empty()) << s.sql;
        sql.push_back(s.sql);
    }
    return sql;
}

TEST(DdlTranslation, AlterColumnNamesTheColumnAndItsNewType) {
    for (const auto& [statement, named] : std::vector<std::pair<std::string, Lines>>{
             {"alter TABLE HolidayTable Alter column REMARK text (101)  ;",
              {"HolidayTable", "REMARK", "TEXT(101) COLLATE NOCASE"}},
             {"ALTER TABLE [Holiday List] ALTER COLUMN [Day No] short NOT NULL",
              {"Holiday List", "Day No", "INTEGER NOT NULL"}}}) {
        const Translation t = translate(statement);
        EXPECT_TRUE(t.statements.empty());
        ASSERT_TRUE(t.alterColumn);
        EXPECT_EQ((Lines{t.alterColumn->table, t.alterColumn->column, t.alterColumn->type}), named);
    }
}

// The new declaration is copied into the rebuilt table's definition: only a type of the dialect
// with the size it allows may go there.
TEST(DdlTranslation, AlterColumnRefusesWhatIsNotADialectType) {
    for (const char* type :
         {"integer); commit; drop table Visitor; begin; create table zz (a", "TEXT(abc)",
          "DOUBLE(5)", "GUID", "TEXT(50) DEFAULT 'x'", "TEXT(50) NOT"}) {
        SCOPED_TRACE(type);
        const RuntimeError e = rejection(std::string("alter TABLE EMI Alter column SN ") + type);
        EXPECT_EQ(e.sqlState(), "42000");
        EXPECT_THAT(e.description(), ::testing::HasSubstr("Syntax error in field definition"));
    }
}

// One column of each kind the dialect renames; the rest of the statement keeps its layout.
TEST(DdlTranslation, AddedColumnsBecomeOneStatementEachAndCreatedTablesKeepTheirLayout) {
    EXPECT_EQ(sqlOf("alter TABLE EmpDetail  add column Code Integer ,NameHindi text (100)"),
              (Lines{"ALTER TABLE EmpDetail ADD COLUMN Code INTEGER",
                     "ALTER TABLE EmpDetail ADD COLUMN NameHindi TEXT(100) COLLATE NOCASE"}));
    EXPECT_EQ(
        sqlOf("CREATE TABLE BILL(SN number, DATEX DATE,WING TEXT , FLAT  text(50), DUE "
              "NUMBER  , c text ( 101 ), d VARCHAR(30), f MEMO, j FLOAT, m CURRENCY, p "
              "SHORT, u COUNTER, w DATETIME, y YESNO, zz LONGBINARY, REMARK TEXT );"),
        Lines{"CREATE TABLE BILL(SN NUMBER, DATEX DATE,WING TEXT COLLATE NOCASE , FLAT  "
              "TEXT(50) COLLATE NOCASE, DUE NUMBER  , c TEXT(101) COLLATE NOCASE, d "
              "TEXT(30) COLLATE NOCASE, f TEXT COLLATE NOCASE, j DOUBLE, m DOUBLE, p "
              "INTEGER, u INTEGER, w DATE, y INTEGER, zz BLOB, REMARK TEXT COLLATE NOCASE )"});
}

TEST(DdlTranslation, WhatIsNotADialectTypeOrShapeStaysAsWritten) {
    // The odd columns stay as written, and the TEXT column beside them still ignores case.
    EXPECT_EQ(sqlOf("CREATE TABLE IF NOT EXISTS [Odd Table] (a TEXT(20), b DECIMAL(10, 2), c TEXT "
                    "COLLATE BINARY, d TEXT(abc), e DOUBLE(5), SN INTEGER NOT NULL DEFAULT 0, f "
                    "DATE DEFAULT #01/01/2024#, [Key] GUID, CONSTRAINT pk PRIMARY KEY (SN))"),
              Lines{"CREATE TABLE IF NOT EXISTS [Odd Table] (a TEXT(20) COLLATE NOCASE, b "
                    "DECIMAL(10, 2), c TEXT COLLATE BINARY, d TEXT(abc), e DOUBLE(5), SN INTEGER "
                    "NOT NULL DEFAULT 0, f DATE DEFAULT '2024-01-01', [Key] GUID, CONSTRAINT pk "
                    "PRIMARY KEY (SN))"});
    for (const char* statement :
         {"ALTER TABLE EmpDetail DROP COLUMN Code",
          "alter TABLE EmpDetail add column Code Integer ,", "alter TABLE X Alter column",
          "CREATE TABLE copy AS SELECT * FROM EMI", "CREATE TABLE broken (a TEXT(50)"}) {
        EXPECT_EQ(sqlOf(statement), Lines{statement});
    }
}

}  // namespace
}  // namespace quillet::testing
