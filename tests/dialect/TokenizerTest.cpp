// The tokens of a statement give back the statement exactly; the translation relies on it to
// leave everything it does not change as written.
#include <gtest/gtest.h>

#include "dialect/Tokenizer.h"

namespace quillet::dialect {
namespace {

std::string joined(const std::vector<Token>& tokens) {
    std::string text;
    for (const Token& t : tokens) {
        text.append(t.text);
    }
    return text;
}

TEST(Tokenizer, TokensJoinBackIntoTheStatement) {
    for (const std::string statement :
         {"Select  * from EMI order by SN asc;  ",
          "insert into EMI values(1,-2.5,.5,1e3,#01/Jan/2024#)",
          "UPDATE [Pay Sheet] SET \"a\"\"b\" = 'it''s', x=y<>z WHERE a>=b||c",
          "Select [unclosed, \"also unclosed", "\tSELECT\r\n\u0928\u093e\u092e FROM t"}) {
        EXPECT_EQ(joined(tokenize(statement)), statement);
    }
}

TEST(Tokenizer, ReadsEachKindWhole) {
    const std::vector<Token> tokens =
        tokenize("x1$ [a b] \"q\" 1.5 .5 5. 2E-3 1e 'it''s' #1/2/2024# <> ;");
    std::vector<std::pair<TokenKind, std::string>> seen;
    for (const Token& t : tokens) {
        if (t.kind != TokenKind::Space) {
            seen.emplace_back(t.kind, std::string(t.text));
        }
    }
    const std::vector<std::pair<TokenKind, std::string>> expected{
        {TokenKind::Word, "x1$"},
        {TokenKind::BracketName, "[a b]"},
        {TokenKind::QuotedName, "\"q\""},
        {TokenKind::Number, "1.5"},
        {TokenKind::Number, ".5"},
        {TokenKind::Number, "5."},
        {TokenKind::Number, "2E-3"},
        {TokenKind::Number, "1"},
        {TokenKind::Word, "e"},
        {TokenKind::String, "'it''s'"},
        {TokenKind::DateLiteral, "#1/2/2024#"},
        {TokenKind::Symbol, "<>"},
        {TokenKind::Symbol, ";"}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(unquoteString("'it''s'"), "it's");
    EXPECT_EQ(nameOf(tokens[2]), "a b");
}

}  // namespace
}  // namespace quillet::dialect
