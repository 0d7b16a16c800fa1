#include "schema/SchemaCreation.h"

#include <string_view>

#include "dialect/StatementTokens.h"
#include "engine/Session.h"
#include "runtime/RuntimeError.h"
#include "schema/DefaultSchema.h"

namespace quillet {

namespace {

// The schema file holds whole-line comments only; they go before the text is split.
std::string withoutCommentLines(std::string_view text) {
    std::string out;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        const std::string_view line = text.substr(0, eol);
        const std::size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos || line.substr(first, 2) != "--") {
            out.append(line);
            out.push_back('\n');
        }
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    }
    return out;
}

// The table a CREATE TABLE statement makes.
std::string tableOf(const std::string& statement) {
    const dialect::StatementTokens t(dialect::tokenize(statement));
    const std::size_t table = t.next(t.begin() + 1);
    const std::size_t name = t.next(table + 1);
    if (!t.isWord(t.begin(), "CREATE") || !t.isWord(table, "TABLE") || t.nameEnd(name) == name) {
        throw RuntimeError(err::StoreError,
                           "The default schema holds a statement that creates no table.", 0,
                           "42000");
    }
    return dialect::nameOf(t[t.nameEnd(name) - 1]);
}

bool tableExists(Session& session, const std::string& table) {
    try {
        session.execute("select * from " + table + " where 1 = 0");
        return true;
    } catch (const RuntimeError& e) {
        if (e.sqlState() == "42S02") {
            return false;
        }
        throw;
    }
}

}  // namespace

std::vector<std::string> defaultSchemaStatements() {
    const std::string text = withoutCommentLines(defaultSchemaSql());
    std::vector<std::string> statements;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(';', start);
        const std::string piece =
            text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (piece.find_first_not_of(" \t\r\n") != std::string::npos) {
            statements.push_back(piece);
        }
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return statements;
}

std::vector<std::string> createMissingTables(Connection& connection) {
    Session& session = connection.session();
    std::vector<std::string> created;
    connection.BeginTrans();
    try {
        for (const std::string& statement : defaultSchemaStatements()) {
            const std::string table = tableOf(statement);
            if (!tableExists(session, table)) {
                session.execute(statement);
                created.push_back(table);
            }
        }
        connection.CommitTrans();
    } catch (const RuntimeError&) {
        connection.tryRollback();
        throw;
    }
    return created;
}

}  // namespace quillet
