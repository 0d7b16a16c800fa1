#include "engine/odbc/PostgresRules.h"

#include "engine/common/StoreBusy.h"
#include "engine/common/TableDefinition.h"
#include "engine/common/ValueConversion.h"
#include "engine/common/WriteUnit.h"
#include "engine/odbc/CatalogColumns.h"
#include "engine/odbc/NameSpellings.h"
#include "engine/odbc/OdbcConnection.h"
#include "engine/odbc/SerialQuery.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

bool contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

std::string textOf(const Variant& value) {
    return value.isNull() ? std::string() : value.toString();
}

// NOTE: any fixed number serves, as long as every program of the store uses the same one.
constexpr long long kSchemaLockKey = 0x5175696c6c6574;  // "Quillet"

bool isNumberType(std::string_view dataType) {
    const std::string lower = toLowerAscii(dataType);
    return contains(lower, "int") || contains(lower, "numeric") || contains(lower, "double") ||
           contains(lower, "real");
}

}  // namespace

dialect::Target PostgresRules::dialect() const {
    return dialect::Target::PostgreSQL;
}

// NOTE: psqlODBC names an extension's type (citext) "unknown", so a type name decides nothing;
// the concise SQL type it reports for the column does. Its own writing of a bound double keeps
// 17 digits, which an exact numeric column stores as they are: a double goes as its shortest text.
// Rows written together go as inserts of many rows, each row's values coerced to the target
// columns as a one-row insert's are.
void PostgresRules::connected(OdbcConnection& connection) {
    connection.setHabits(DriverHabits{.familiesFromSqlType = true,
                                      .doublesAsShortestText = true,
                                      .bindsParameterArrays = true,
                                      .insertsManyRowsAtOnce = true,
                                      .fetchesRowsets = true});
    // Another desk's table lock is waited for as long as the embedded store waits for a writer.
    connection.direct("SET lock_timeout = " + std::to_string(engine::kStoreBusyTimeoutMs));
    // Text goes as UTF-8 whatever the desk's locale told the driver; the server converts it to
    // the database's encoding or refuses what that cannot hold, with its reason.
    connection.direct("SET client_encoding TO 'UTF8'");
    const auto current = connection.query(
        "select current_schema(), pg_encoding_to_char(encoding) from pg_database where datname = "
        "current_database()");
    m_schema = current.empty() ? std::string() : textOf(current.front()[0]);
    m_encoding = current.empty() ? std::string() : textOf(current.front()[1]);
}

// NOTE: a server restart (or an administrator ending the session) leaves the kept connection
// looking sound until it is used: one trivial statement finds out before a caller's first one.
std::string PostgresRules::textUnfitness() const {
    if (m_encoding.empty() || equalsIgnoringCase(m_encoding, "UTF8")) {
        return {};
    }
    return "the database's encoding is " + m_encoding +
           ", which cannot hold every text; create the database as UTF8 (createdb "
           "--encoding=UTF8 --template=template0 ...) and run --create-schema there";
}

bool PostgresRules::stillConnected(OdbcConnection& connection) const {
    try {
        connection.direct("SELECT 1");
        return true;
    } catch (const RuntimeError&) {
        return false;
    }
}

// NOTE: DDL on PostgreSQL is transactional, but two sessions creating the same table at once
// both pass the existence check and the loser fails on the catalog's unique index (pg_type); a
// session-level advisory lock, released by the server should the session be lost, orders them.
void PostgresRules::lockSchemaChanges(OdbcConnection& connection) const {
    connection.direct("select pg_advisory_lock(" + std::to_string(kSchemaLockKey) + ")");
}

void PostgresRules::unlockSchemaChanges(OdbcConnection& connection) const {
    connection.direct("select pg_advisory_unlock(" + std::to_string(kSchemaLockKey) + ")");
}

void PostgresRules::beginWrite(OdbcConnection& connection) const {
    connection.setAutocommit(false);
}

// The automatic commit comes back on even when ending the transaction failed; that failure is
// the one reported.
void PostgresRules::endWrite(OdbcConnection& connection, bool commit) const {
    try {
        connection.endTransaction(commit);
    } catch (const RuntimeError&) {
        try {
            connection.setAutocommit(true);
        } catch (const RuntimeError&) {
            // The first failure is the one to report.
        }
        throw;
    }
    connection.setAutocommit(true);
}

// PostgreSQL stores unquoted names folded to lower case.
std::vector<engine::TableColumn> PostgresRules::tableColumns(OdbcConnection& connection,
                                                             const std::string& table) const {
    return catalogTableColumns(connection, toLowerAscii(table), table, m_schema);
}

// The server checks types: a date goes as a timestamp, a Null for a number as a double.
SqlBinding PostgresRules::bindingFor(engine::ColumnKind kind) const {
    switch (kind) {
        case engine::ColumnKind::Date:
            return SqlBinding::Timestamp;
        case engine::ColumnKind::Number:
            return SqlBinding::Number;
        default:
            return SqlBinding::Text;
    }
}

// NOTE: a new serial is the largest one plus 1; on a server, the read and the insert that follows
// must not interleave with another desk's. A table emptied inside a write transaction is being
// written afresh (Calculate's rewrite of EMI): another desk's rewrite must wait until this one,
// and its read-back, are committed, or the table ends up holding both. Inside a write transaction
// the table is locked against other writers (readers go on) until the transaction ends; a desk
// kept waiting longer than the lock timeout set at connect gets the store's busy error.
std::optional<TableLock> PostgresRules::lockBefore(std::string_view accessSql) const {
    std::optional<std::string> table = serialQueryTable(accessSql);
    if (!table) {
        table = emptiedTable(accessSql);
    }
    if (!table) {
        return std::nullopt;
    }
    return TableLock{*table, "LOCK TABLE " + *table + " IN EXCLUSIVE MODE"};
}

// NOTE: PostgreSQL converts the stored values itself; numbers and dates convert through the
// classic serial day count as the runtime converts them: day 0 is 1899-12-30, and before it the
// whole days count down while the fraction still counts the time of day up (-1.5 is noon on
// 29 Dec 1899). A serial outside the calendar we support is no date: the change is refused as a
// whole, checked under the same lock as the change itself.
void PostgresRules::alterColumn(engine::EngineLink& link, OdbcConnection& connection,
                                const dialect::AlterColumn& change) const {
    const std::string table = toLowerAscii(change.table);
    const std::string columnName = toLowerAscii(change.column);
    const auto found = connection.query(
        "SELECT data_type FROM information_schema.columns WHERE table_schema = current_schema() "
        "AND table_name = ? AND column_name = ?",
        {table, columnName});
    if (found.empty()) {
        throw link.failure("no such column: " + change.table + "." + change.column, "42S22");
    }
    const std::string from = textOf(found.front()[0]);
    const std::string quotedTable = engine::quoteIdentifier(table);
    const std::string column = engine::quoteIdentifier(columnName);
    const bool toDate = contains(toLowerAscii(change.type), "timestamp");
    const bool toNumber = isNumberType(change.type);
    engine::WriteUnit unit(link);
    std::string conversion = column + "::" + change.type;
    if (toDate && isNumberType(from)) {
        connection.direct("LOCK TABLE " + quotedTable + " IN ACCESS EXCLUSIVE MODE");
        const auto outside =
            connection.query("SELECT count(*) FROM " + quotedTable + " WHERE " + column + " < " +
                             formatGeneral(engine::kFirstSerialDay) + " OR " + column +
                             " >= " + formatGeneral(engine::kPastLastSerialDay));
        if (!outside.empty() && textOf(outside.front()[0]) != "0") {
            throw engine::dataTypeMismatch();
        }
        conversion = "timestamp '1899-12-30' + (trunc(" + column + ") + abs(" + column +
                     " - trunc(" + column + "))) * interval '1 day'";
    } else if (toNumber && contains(from, "timestamp")) {
        const std::string days =
            "(extract(epoch from " + column + " - timestamp '1899-12-30') / 86400)";
        conversion = "CASE WHEN " + days + " < 0 THEN 2 * floor(" + days + ") - " + days +
                     " ELSE " + days + " END";
    }
    connection.direct("ALTER TABLE " + quotedTable + " ALTER COLUMN " + column + " TYPE " +
                      change.type + " USING " + conversion);
    unit.commit();
}

void PostgresRules::learnSpellings(std::string_view accessSql) const {
    learnNameSpellings(accessSql);
}

void PostgresRules::respell(ResultTable& result, std::string_view accessSql) const {
    for (std::string& column : result.columns) {
        column = odbc::respelt(column, accessSql);
    }
}

std::string PostgresRules::respeltNames(std::string description, std::string_view accessSql) const {
    return respeltQuotedNames(std::move(description), accessSql);
}

}  // namespace quillet::odbc
