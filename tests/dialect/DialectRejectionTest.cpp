// What the dialect refuses itself, what it leaves for the engine to judge, and the date forms it
// reads between # signs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TranslationMatchers.h"

namespace quillet::dialect::test {
namespace {

using ::testing::HasSubstr;

struct Rejected {
    std::string statement;
    std::string because;  // part of the description
};

void PrintTo(const Rejected& r, std::ostream* os) {
    *os << r.statement;
}

class DialectRejection : public ::testing::TestWithParam<Rejected> {};

TEST_P(DialectRejection, RaisesTheStoreSyntaxError) {
    const RuntimeError e = rejection(GetParam().statement);
    EXPECT_EQ(e.number(), err::StoreError);
    EXPECT_EQ(e.sqlState(), "42000");
    EXPECT_EQ(e.nativeCode(), 0);
    EXPECT_THAT(e.description(), HasSubstr(GetParam().because));
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, DialectRejection,
    ::testing::Values(
        Rejected{"insert into Cable values(5,'C-101,'x')", "unterminated text literal ')"},
        Rejected{"Select SN from EmpDetail where NAME_ = 'O'Brien'", "unterminated text literal '"},
        Rejected{"insert into EMI values(1,2,3,4,5,##)", "empty date literal ##"},
        Rejected{"Select * from EMI where EMIDate = # #", "empty date literal"},
        Rejected{"insert into EMI values(1,2,3,4,5,#31/02/2024#)",
                 "#31/02/2024# is not a valid date"},
        Rejected{"Select * from EMI where EMIDate > #01/Jan/2024",
                 "unterminated date literal #01/Jan"},
        // One # too few swallows the text up to the next one, which is then no date.
        Rejected{"Select * from T where a = #1/1/2024 and b = #2/2/2024#", "is not a valid date"},
        Rejected{"Select * from EMI where SN = ?", "No value given"},
        Rejected{"Select * from EMI where SN = :serial", "No value given"},
        Rejected{"Select * from EMI where SN = @serial", "No value given"}));

// Whatever the dialect does not know reaches the engine as written, so the engine reports it.
TEST(DialectPassThrough, UnknownTextReachesTheEngineUnchanged) {
    for (const char* statement :
         {"this is not sql", "SELEC * FORM EMI", "insert into EMI values(1,2",
          "insert EMI values(1)", "insert into EMI values(1,2) (3)", "UPDATE EMI SET",
          "Delete EMI.* from EMI", "Select [unclosed from EMI", "Select \"it's\" from EMI",
          "Select 12abc, 1e from EMI"}) {
        const Translation t = translate(statement);
        ASSERT_EQ(t.statements.size(), 1u) << statement;
        EXPECT_EQ(t.statements[0].sql, statement);
        EXPECT_TRUE(t.statements[0].parameters.empty()) << statement;
    }
}

TEST(DialectPassThrough, AnEmptyStatementStaysEmpty) {
    const Translation t = translate(" ; ");
    ASSERT_EQ(t.statements.size(), 1u);
    EXPECT_EQ(t.statements[0].sql, "");
}

struct DateForm {
    std::string written;
    std::string stored;  // empty: refused
};

void PrintTo(const DateForm& f, std::ostream* os) {
    *os << '#' << f.written << '#';
}

class DateLiteral : public ::testing::TestWithParam<DateForm> {};

TEST_P(DateLiteral, IsReadDayFirstInTheAcceptedForms) {
    const DateForm& f = GetParam();
    const std::string where = "Select * from EMI where EMIDate = #" + f.written + "#";
    const std::string insert = "insert into EMI values(1,2,3,4,5,#" + f.written + "#)";
    if (f.stored.empty()) {
        EXPECT_THAT(rejection(where).description(), HasSubstr("is not a valid date"));
        EXPECT_THAT(rejection(insert).description(), HasSubstr("is not a valid date"));
        return;
    }
    EXPECT_EQ(translate(where).statements.at(0).sql,
              "Select * from EMI where EMIDate = '" + f.stored + "'");
    const Translation t = translate(insert);
    EXPECT_EQ(t.statements.at(0).sql, "insert into EMI values(?,?,?,?,?,?)");
    ASSERT_EQ(t.statements.at(0).parameters.size(), 6u);
    EXPECT_EQ(t.statements.at(0).parameters[5].kind, Parameter::Kind::Date);
    EXPECT_EQ(t.statements.at(0).parameters[5].value, f.stored);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DateLiteral,
    ::testing::Values(DateForm{"05/03/2024", "2024-03-05"}, DateForm{"5/3/2024", "2024-03-05"},
                      DateForm{"5-3-2024", "2024-03-05"}, DateForm{"05-03-2024", "2024-03-05"},
                      DateForm{"01/Jan/2024", "2024-01-01"}, DateForm{"1-jan-2024", "2024-01-01"},
                      DateForm{"31/DEC/1999", "1999-12-31"}, DateForm{"2024-03-05", "2024-03-05"},
                      DateForm{"29/02/2024", "2024-02-29"}, DateForm{" 05/03/2024 ", "2024-03-05"},
                      DateForm{"05/03/2024 10:30", "2024-03-05 10:30:00"},
                      DateForm{"2024-03-05 23:59:59", "2024-03-05 23:59:59"},
                      DateForm{"05/03/2024 00:00", "2024-03-05"}, DateForm{"29/02/2023", ""},
                      DateForm{"31/04/2024", ""}, DateForm{"13/13/2024", ""},
                      DateForm{"2024/03/05", ""}, DateForm{"5/3/24", ""},
                      DateForm{"Mar 5 2024", ""}, DateForm{"05/Mrz/2024", ""},
                      DateForm{"05/03/2024 24:00", ""}, DateForm{"today", ""}));

}  // namespace
}  // namespace quillet::dialect::test
