#include "engine/odbc/SqliteFileRules.h"

#include "engine/common/TableRebuild.h"
#include "engine/odbc/CatalogColumns.h"
#include "engine/odbc/OdbcConnection.h"

namespace quillet::odbc {

dialect::Target SqliteFileRules::dialect() const {
    return dialect::Target::SQLite;
}

// The driver resolves the data source's Database entry; the engine says which file it opened.
void SqliteFileRules::connected(OdbcConnection& connection) {
    for (const auto& row : connection.query("PRAGMA database_list")) {
        if (row.size() > 2 && !row[1].isNull() && row[1].toString() == "main" && !row[2].isNull()) {
            m_file = row[2].toString();
        }
    }
}

std::string SqliteFileRules::place(const std::string& dataSource) const {
    const std::string source = "the data source '" + dataSource + "'";
    return m_file.empty() ? source : source + " (SQLite file " + m_file + ")";
}

// NOTE: the SQLite driver's manual-commit mode opens a deferred transaction, in which two writers
// that both read first deadlock when they write; an immediate one takes the write lock at once,
// as the embedded store does.
// A file opened once stays reachable.
bool SqliteFileRules::stillConnected(OdbcConnection& /*connection*/) const {
    return true;
}

void SqliteFileRules::beginWrite(OdbcConnection& connection) const {
    connection.direct("BEGIN IMMEDIATE");
}

void SqliteFileRules::endWrite(OdbcConnection& connection, bool commit) const {
    connection.direct(commit ? "COMMIT" : "ROLLBACK");
}

std::vector<engine::TableColumn> SqliteFileRules::tableColumns(OdbcConnection& connection,
                                                               const std::string& table) const {
    return catalogTableColumns(connection, table, table, {});
}

SqlBinding SqliteFileRules::bindingFor(engine::ColumnKind kind) const {
    // Dates are stored as ISO text: a date goes as text.
    return kind == engine::ColumnKind::Number ? SqlBinding::Number : SqlBinding::Text;
}

// The write lock taken as the transaction began already keeps every other writer out.
std::optional<TableLock> SqliteFileRules::lockBefore(std::string_view /*accessSql*/) const {
    return std::nullopt;
}

// A SQLite file cannot change a column in place either: the table is rebuilt, as in the embedded
// store.
void SqliteFileRules::alterColumn(engine::EngineLink& link, OdbcConnection& /*connection*/,
                                  const dialect::AlterColumn& change) const {
    engine::rebuildWithColumnType(link, change);
}

void SqliteFileRules::learnSpellings(std::string_view /*accessSql*/) const {}

void SqliteFileRules::respell(ResultTable& /*result*/, std::string_view /*accessSql*/) const {}

std::string SqliteFileRules::respeltNames(std::string description,
                                          std::string_view /*accessSql*/) const {
    return description;
}

}  // namespace quillet::odbc
