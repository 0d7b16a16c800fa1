// What the dialect refuses itself, what it leaves for the engine to judge, and the date forms it
// reads between # signs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "TranslationMatchers.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;

// The dialect refuses these itself with the engine's syntax-error number.
TEST(DialectRejection, MalformedLiteralsAndPlaceholdersRaiseTheStoreSyntaxError) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"insert into Cable values(5,'C-101,'x')", "unterminated text literal ')"},
        {"insert into EMI values(1,2,3,4,5,##)", "empty date literal ##"},
        {"insert into EMI values(1,2,3,4,5,#31/02/2024#)", "#31/02/2024# is not a valid date"},
        {"Select * from EMI where EMIDate > #01/Jan/2024", "unterminated date literal #01/Jan"},
        // One # too few swallows the text up to the next one, which is then no date.
        {"Select * from T where a = #1/1/2024 and b = #2/2/2024#", "is not a valid date"},
        {"Select * from EMI where SN = ?", "No value given"},
        {"Select * from EMI where SN = :serial", "No value given"},
        // The engine would read these as infinity and store it.
        {"update EMI set Amount = 1e400 where SN = 1", "1e400 is too large"},
        {"Select * from EMI where Amount < " + std::string(309, '9'), "is too large"}};
    for (const auto& [statement, because] : cases) {
        SCOPED_TRACE(statement);
        const RuntimeError e = rejection(statement);
        EXPECT_EQ(e.number(), err::StoreError);
        EXPECT_EQ(e.sqlState(), "42000");
        EXPECT_THAT(e.description(), HasSubstr(because));
    }
}

// Whatever the dialect does not know reaches the engine as written, so the engine reports it.
TEST(DialectPassThrough, UnknownTextReachesTheEngineUnchanged) {
    for (const char* statement :
         {"SELEC * FORM EMI", "insert into EMI values(1,2", "insert into EMI values(1,2) (3)",
          "UPDATE EMI SET", "Delete EMI.* from EMI", "Select [unclosed, \"also unclosed",
          "Select 12abc, 1e from EMI", "SELECT\r\n\u0928\u093e\u092e FROM t"}) {
        const Translation t = translate(statement);
        ASSERT_EQ(t.statements.size(), 1u) << statement;
        EXPECT_EQ(t.statements[0].sql, statement);
        EXPECT_TRUE(t.statements[0].parameters.empty()) << statement;
    }
    EXPECT_EQ(translate(" ; ").statements.at(0).sql, "");
}

TEST(DateLiteral, IsReadDayFirstInTheAcceptedFormsOnly) {
    const auto where = [](const std::string& written) {
        return "Select * from EMI where EMIDate = #" + written + "#";
    };
    for (const auto& [written, stored] : std::vector<std::pair<std::string, std::string>>{
             {"05/03/2024", "2024-03-05"},
             {"1-jan-2024", "2024-01-01"},
             {"29/02/2024", "2024-02-29"},
             {"05/03/2024 10:30", "2024-03-05 10:30:00"},
             {"05/03/2024 00:00", "2024-03-05"}}) {
        EXPECT_EQ(translate(where(written)).statements.at(0).sql,
                  "Select * from EMI where EMIDate = '" + stored + "'");
    }
    // The other forms parseDate reads or refuses are covered with it.
    for (const char* written : {"29/02/2023", "5/3/24", "05/03/2024 24:00"}) {
        EXPECT_THAT(rejection(where(written)).description(), HasSubstr("is not a valid date"))
            << written;
    }
}

}  // namespace
}  // namespace quillet::testing
