#include "dialect/AccessTranslator.h"

#include "dialect/DdlTranslation.h"
#include "dialect/DialectError.h"
#include "dialect/DmlTranslation.h"
#include "dialect/PostgresDialect.h"
#include "dialect/StatementTokens.h"

namespace quillet::dialect {

namespace {

// NOTE: statements arrive as complete texts; the engine's own markers (?, ?1, :name, @name,
// $name) would be bound to Null without a word, where Access refuses a statement that asks for
// a value nobody gave. Only the placeholders the translation itself makes may reach the engine.
void refuseParameterMarkers(const StatementTokens& t) {
    for (std::size_t i = t.begin(); i < t.end(); ++i) {
        const Token& token = t[i];
        if (token.kind != TokenKind::Symbol || token.text.size() != 1) {
            continue;
        }
        const char c = token.text.front();
        const bool named = (c == ':' || c == '@' || c == '$') && i + 1 < t.end() &&
                           (t[i + 1].kind == TokenKind::Word || t[i + 1].kind == TokenKind::Number);
        if (c == '?' || named) {
            raiseDialectError("No value given for one or more required parameters (" +
                              std::string(token.text) +
                              (named ? std::string(t[i + 1].text) : std::string()) + ")");
        }
    }
}

bool returnsRows(const StatementTokens& t) {
    std::size_t i = t.begin();
    while (t.isSymbol(i, '(')) {
        i = t.next(i + 1);
    }
    return t.isWord(i, "SELECT") || t.isWord(i, "WITH");
}

bool translateByShape(const StatementTokens& t, Translation& out, Target target) {
    const std::size_t first = t.begin();
    if (t.isWord(first, "DELETE")) {
        return translateDelete(t, out);
    }
    if (t.isWord(first, "INSERT")) {
        return translateInsert(t, out);
    }
    if (t.isWord(first, "UPDATE")) {
        return translateUpdate(t, out);
    }
    if (t.isWord(first, "CREATE")) {
        return translateCreateTable(t, out, target);
    }
    if (t.isWord(first, "ALTER")) {
        return translateAlterTable(t, out, target);
    }
    return false;
}

}  // namespace

Translation translate(std::string_view accessSql, Target target) {
    const StatementTokens tokens(tokenize(accessSql));
    refuseParameterMarkers(tokens);
    Translation result;
    result.returnsRows = returnsRows(tokens);
    if (!translateByShape(tokens, result, target)) {
        // Not a shape of ours: the engine sees it as written (dates aside) and judges it itself.
        result.statements.push_back(
            EngineStatement{tokens.render(tokens.begin(), tokens.end()), {}});
    }
    if (target == Target::PostgreSQL) {
        adaptForPostgres(result);
    }
    return result;
}

}  // namespace quillet::dialect
