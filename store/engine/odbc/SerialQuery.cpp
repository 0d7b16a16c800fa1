#include "engine/odbc/SerialQuery.h"

#include "dialect/StatementTokens.h"

namespace quillet::odbc {

std::optional<std::string> serialQueryTable(std::string_view accessSql) {
    const dialect::StatementTokens t(dialect::tokenize(accessSql));
    const std::size_t select = t.begin();
    const std::size_t max = t.next(select + 1);
    const std::size_t open = t.next(max + 1);
    if (!t.isWord(select, "SELECT") || !t.isWord(max, "MAX") || !t.isSymbol(open, '(')) {
        return std::nullopt;
    }
    const std::size_t close = t.closing(open, t.end());
    const std::size_t from = t.next(close + 1);
    if (close == t.end() || !t.isWord(from, "FROM")) {
        return std::nullopt;
    }
    const std::size_t name = t.next(from + 1);
    const std::size_t nameEnd = t.nameEnd(name);
    if (nameEnd == name) {
        return std::nullopt;
    }
    return t.render(name, nameEnd);
}

std::optional<std::string> emptiedTable(std::string_view accessSql) {
    const dialect::StatementTokens t(dialect::tokenize(accessSql));
    const std::size_t remove = t.begin();
    std::size_t from = t.next(remove + 1);
    if (t.isSymbol(from, '*')) {
        from = t.next(from + 1);
    }
    if (!t.isWord(remove, "DELETE") || !t.isWord(from, "FROM")) {
        return std::nullopt;
    }
    const std::size_t name = t.next(from + 1);
    const std::size_t nameEnd = t.nameEnd(name);
    if (nameEnd == name || t.next(nameEnd) != t.end()) {
        return std::nullopt;
    }
    return t.render(name, nameEnd);
}

bool holdsSecondStatement(std::string_view accessSql) {
    const dialect::StatementTokens t(dialect::tokenize(accessSql));
    for (std::size_t i = t.begin(); i < t.end(); ++i) {
        if (t.isSymbol(i, ';')) {
            return true;
        }
    }
    return false;
}

}  // namespace quillet::odbc
