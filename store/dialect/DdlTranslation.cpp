#include "dialect/DdlTranslation.h"

#include "dialect/DdlTypes.h"
#include "dialect/DialectError.h"
#include "dialect/PostgresDialect.h"

namespace quillet::dialect {

namespace {

// A column definition: name, type (a word, perhaps with a size in parentheses), then the rest
// (NOT NULL, DEFAULT ..., CONSTRAINT ...) as written.
struct ColumnDefinition {
    std::size_t name = 0;
    std::size_t typeBegin = 0;
    std::size_t typeEnd = 0;  // == typeBegin when no type is written
    std::size_t end = 0;
    std::optional<std::string> engineType;
};

bool startsTableConstraint(const StatementTokens& t, std::size_t i) {
    return t.isWord(i, "CONSTRAINT") || t.isWord(i, "PRIMARY") || t.isWord(i, "UNIQUE") ||
           t.isWord(i, "CHECK") || t.isWord(i, "FOREIGN");
}

std::optional<ColumnDefinition> parseColumnDefinition(const StatementTokens& t, TokenRange part,
                                                      Target target) {
    const auto [first, last] = part;
    if (first >= last || !t.isName(first)) {
        return std::nullopt;
    }
    ColumnDefinition def;
    def.name = first;
    def.end = last;
    std::size_t i = t.next(first + 1);
    i = i < last ? i : last;
    def.typeBegin = def.typeEnd = i;
    if (i == last || t[i].kind != TokenKind::Word) {
        return def;
    }
    def.typeEnd = i + 1;
    std::optional<std::string> size;
    const std::size_t open = t.next(i + 1);
    if (open < last && t.isSymbol(open, '(')) {
        const std::size_t close = t.closing(open, last);
        if (close == last) {
            return std::nullopt;
        }
        size.emplace();
        for (std::size_t k = open + 1; k < close; ++k) {
            if (t[k].kind != TokenKind::Space) {
                size->append(t[k].text);
            }
        }
        def.typeEnd = close + 1;
    }
    bool ownCollation = false;
    for (std::size_t k = def.typeEnd; k < last; ++k) {
        ownCollation = ownCollation || t.isWord(k, "COLLATE");
    }
    def.engineType = engineColumnType(t[i].text, size, !ownCollation);
    if (target == Target::PostgreSQL && def.engineType) {
        def.engineType = postgresColumnType(*def.engineType);
    }
    return def;
}

void addTypeEdit(const ColumnDefinition& def, std::vector<Edit>& edits) {
    if (def.engineType) {
        edits.push_back(Edit{def.typeBegin, def.typeEnd, *def.engineType});
    }
}

// Skips an optional keyword.
std::size_t optionalWord(const StatementTokens& t, std::size_t i, std::string_view keyword) {
    return t.isWord(i, keyword) ? t.next(i + 1) : i;
}

// NOTE: the engine rebuilds the table for an Alter column, with the new declaration copied into
// a CREATE statement. Only a type of the dialect (with the size it allows), optionally followed
// by NULL or NOT NULL, may travel there: anything else could close the column list early.
void refuseUnsafeAlterType(const StatementTokens& t, const ColumnDefinition& def) {
    const std::string written = t.render(def.typeBegin, def.end);
    if (!def.engineType) {
        raiseDialectError("Syntax error in field definition: " + excerpt(written) +
                          " is not a column type.");
    }
    std::size_t i = t.next(def.typeEnd);
    if (t.isWord(i, "NOT")) {
        i = t.next(i + 1);
        if (!t.isWord(i, "NULL")) {
            raiseDialectError("Syntax error in field definition: " + excerpt(written));
        }
    }
    if (t.isWord(i, "NULL")) {
        i = t.next(i + 1);
    }
    if (i < def.end) {
        raiseDialectError("Syntax error in field definition: " + excerpt(written));
    }
}

}  // namespace

bool translateCreateTable(const StatementTokens& t, Translation& out, Target target) {
    std::size_t i = t.next(t.begin() + 1);
    i = optionalWord(t, i, "TEMP");
    i = optionalWord(t, i, "TEMPORARY");
    if (!t.isWord(i, "TABLE")) {
        return false;
    }
    i = t.next(i + 1);
    if (t.isWord(i, "IF")) {
        const std::size_t notWord = t.next(i + 1);
        const std::size_t exists = t.next(notWord + 1);
        if (!t.isWord(notWord, "NOT") || !t.isWord(exists, "EXISTS")) {
            return false;
        }
        i = t.next(exists + 1);
    }
    const std::size_t nameEnd = t.nameEnd(i);
    if (nameEnd == i) {
        return false;
    }
    const std::size_t open = t.next(nameEnd);
    if (!t.isSymbol(open, '(')) {
        return false;
    }
    const std::size_t close = t.closing(open, t.end());
    if (close == t.end()) {
        return false;
    }
    std::vector<Edit> edits;
    for (const TokenRange& part : t.splitAtCommas(open + 1, close)) {
        if (startsTableConstraint(t, part.first)) {
            continue;
        }
        const auto def = parseColumnDefinition(t, part, target);
        if (!def) {
            return false;
        }
        addTypeEdit(*def, edits);
    }
    out.statements.push_back(EngineStatement{t.render(t.begin(), t.end(), edits), {}});
    return true;
}

bool translateAlterTable(const StatementTokens& t, Translation& out, Target target) {
    const std::size_t table = t.next(t.begin() + 1);
    if (!t.isWord(table, "TABLE")) {
        return false;
    }
    const std::size_t nameBegin = t.next(table + 1);
    const std::size_t nameEnd = t.nameEnd(nameBegin);
    if (nameEnd == nameBegin) {
        return false;
    }
    const std::size_t action = t.next(nameEnd);
    const bool add = t.isWord(action, "ADD");
    if (!add && !t.isWord(action, "ALTER")) {
        return false;
    }
    const std::size_t first = optionalWord(t, t.next(action + 1), "COLUMN");
    if (first == t.end() || startsTableConstraint(t, first)) {
        return false;
    }
    const std::vector<TokenRange> parts = t.splitAtCommas(first, t.end());
    std::vector<ColumnDefinition> defs;
    defs.reserve(parts.size());
    for (const TokenRange& part : parts) {
        auto def = parseColumnDefinition(t, part, target);
        if (!def) {
            return false;
        }
        defs.push_back(std::move(*def));
    }

    if (!add) {
        // NOTE: the engine cannot change a column in place; it rebuilds the table instead, so
        // the new declaration travels apart from any statement.
        if (defs.size() != 1 || defs.front().typeBegin == defs.front().typeEnd) {
            return false;
        }
        const ColumnDefinition& def = defs.front();
        refuseUnsafeAlterType(t, def);
        std::vector<Edit> edits;
        addTypeEdit(def, edits);
        out.alterColumn = AlterColumn{nameOf(t[nameEnd - 1]), nameOf(t[def.name]),
                                      t.render(def.typeBegin, def.end, edits)};
        return true;
    }

    // The engine adds one column per statement; the caller runs them all or none.
    const std::string prefix = "ALTER TABLE " + t.render(nameBegin, nameEnd) + " ADD COLUMN ";
    for (std::size_t k = 0; k < defs.size(); ++k) {
        std::vector<Edit> edits;
        addTypeEdit(defs[k], edits);
        out.statements.push_back(
            EngineStatement{prefix + t.render(parts[k].first, parts[k].second, edits), {}});
    }
    return true;
}

}  // namespace quillet::dialect
