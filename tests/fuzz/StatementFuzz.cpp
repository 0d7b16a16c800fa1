// Access statements, translated and run on a fresh in-memory store with the default schema, one
// line of the input per statement. However hostile the text: no crash, every failure a
// RuntimeError, the engine runs only what the statement itself translates to (plus its own
// bookkeeping, never a second statement smuggled in), and the store stays intact.
#include <algorithm>
#include <cctype>
#include <set>
#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "SqliteStatementLog.h"
#include "dialect/AccessTranslator.h"
#include "engine/sqlite/SqliteSession.h"
#include "runtime/RuntimeError.h"
#include "schema/DefaultSchema.h"

namespace {

using quillet::testing::require;

constexpr std::size_t kMostStatements = 8;

std::string normalised(std::string_view sql) {
    while (!sql.empty() &&
           (std::isspace(static_cast<unsigned char>(sql.back())) || sql.back() == ';')) {
        sql.remove_suffix(1);
    }
    while (!sql.empty() && std::isspace(static_cast<unsigned char>(sql.front()))) {
        sql.remove_prefix(1);
    }
    return std::string(sql);
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string bareName(std::string_view name) {
    if (name.size() >= 2 && (name.front() == '[' || name.front() == '"' || name.front() == '`')) {
        name = name.substr(1, name.size() - 2);
    }
    return std::string(name);
}

// The bookkeeping the engine runs around a statement: transactions, the schema version, column
// types, and the steps of a table rebuild. Written by the engine itself, in its own spelling.
bool isEngineBookkeeping(const std::string& sql) {
    static const std::set<std::string, std::less<>> fixed = {
        "BEGIN IMMEDIATE",
        "COMMIT",
        "ROLLBACK",
        "SAVEPOINT quillet_unit",
        "RELEASE quillet_unit",
        "ROLLBACK TO quillet_unit",
        "PRAGMA schema_version",
        "PRAGMA legacy_alter_table = ON",
        "PRAGMA legacy_alter_table = OFF",
    };
    static const std::vector<std::string_view> prefixes = {
        "SELECT name, type FROM pragma_table_info(",
        "SELECT name, sql FROM sqlite_master WHERE ",
        "SELECT sql FROM sqlite_master WHERE ",
        "CREATE TABLE \"quillet_rebuild_",
        "INSERT INTO \"quillet_rebuild_",
        "ALTER TABLE \"quillet_rebuild_",
        "UPDATE \"quillet_rebuild_",
    };
    // The stored values a column change converts, read from the table being rebuilt.
    if (sql.starts_with("SELECT DISTINCT typeof(") &&
        sql.find(" FROM \"quillet_rebuild_") != std::string::npos) {
        return true;
    }
    return fixed.contains(sql) || std::any_of(prefixes.begin(), prefixes.end(), [&](auto p) {
               return std::string_view(sql).starts_with(p);
           });
}

// What one statement may make the engine run: its own translation, and for a column change the
// drop of the old table and the indexes and triggers made again on the new one.
std::set<std::string> expectedStatements(std::string_view line,
                                         const std::vector<std::string>& dependents) {
    std::set<std::string> expected;
    try {
        const quillet::dialect::Translation translation = quillet::dialect::translate(line);
        for (const auto& statement : translation.statements) {
            expected.insert(normalised(statement.sql));
        }
        if (translation.alterColumn) {
            expected.insert(
                lower("DROP TABLE \"" + bareName(translation.alterColumn->table) + "\""));
            for (const std::string& sql : dependents) {
                expected.insert(normalised(sql));
            }
        }
    } catch (const quillet::RuntimeError&) {
        // Refused by the dialect: the engine must run nothing of it.
    }
    return expected;
}

bool isExpected(const std::set<std::string>& expected, const std::string& sql) {
    return expected.contains(sql) ||
           (sql.starts_with("DROP TABLE \"") && expected.contains(lower(sql)));
}

std::vector<std::string> storedDependents(quillet::Session& session) {
    std::vector<std::string> texts;
    const quillet::ResultTable result = session.execute(
        "SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND sql IS NOT NULL");
    for (const auto& row : result.rows) {
        texts.push_back(row.at(0).toString());
    }
    return texts;
}

std::vector<std::string_view> statementsOf(std::string_view input) {
    std::vector<std::string_view> lines;
    while (lines.size() < kMostStatements) {
        const std::size_t end = input.find('\n');
        lines.push_back(input.substr(0, end));
        if (end == std::string_view::npos) {
            break;
        }
        input.remove_prefix(end + 1);
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool watching = [] {
        quillet::testing::watchEmbeddedConnections();
        // The engine makes the default store once; every input starts from a copy of it.
        const auto first =
            quillet::sqlite::SqliteSession::open(":memory:", quillet::defaultSchemaSql());
        quillet::testing::keepLastOpenedStore();
        return true;
    }();
    (void)watching;
    const std::string_view input = quillet::testing::asText(data, size);

    const auto session =
        quillet::sqlite::SqliteSession::open(":memory:", quillet::defaultSchemaSql());
    for (const std::string_view line : statementsOf(input)) {
        const std::set<std::string> expected = expectedStatements(line, storedDependents(*session));
        quillet::testing::startRecording();
        try {
            session->execute(line);
        } catch (const quillet::RuntimeError&) {
            // A refused or failing statement is an ordinary outcome.
        }
        for (const std::string& ran : quillet::testing::stopRecording()) {
            const std::string sql = normalised(ran);
            require(isExpected(expected, sql) || isEngineBookkeeping(sql),
                    "the engine runs only the statement's own translation: " + sql, input);
        }
    }
    if (session->inTransaction()) {
        session->rollback();
    }
    const quillet::ResultTable check = session->execute("PRAGMA integrity_check");
    require(
        check.rows.size() == 1 && check.rows[0].size() == 1 && check.rows[0][0].toString() == "ok",
        "the store is intact after the statements", input);
    return 0;
}
