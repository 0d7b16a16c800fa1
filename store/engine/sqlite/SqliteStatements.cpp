#include "engine/sqlite/SqliteStatements.h"

#include <sqlite3.h>

#include <cctype>
#include <optional>

#include "engine/common/PlainValues.h"
#include "engine/sqlite/SqliteErrors.h"

namespace quillet::sqlite {

namespace {

constexpr std::size_t kStatementCacheSize = 64;

using engine::BoundValue;
using engine::ColumnKind;

Variant readValue(sqlite3_stmt* statement, int column, ColumnKind kind) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: {
            const auto value = static_cast<long long>(sqlite3_column_int64(statement, column));
            if (kind == ColumnKind::Date) {
                if (const auto date = engine::dateFromSerial(static_cast<double>(value))) {
                    return *date;
                }
            }
            return Variant(value);
        }
        case SQLITE_FLOAT: {
            const double value = sqlite3_column_double(statement, column);
            if (kind == ColumnKind::Date) {
                if (const auto date = engine::dateFromSerial(value)) {
                    return *date;
                }
            }
            return value;
        }
        case SQLITE_TEXT:
        case SQLITE_BLOB: {
            const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement, column));
            const auto size = static_cast<std::size_t>(sqlite3_column_bytes(statement, column));
            const std::string_view text = bytes != nullptr ? std::string_view(bytes, size) : "";
            if (kind == ColumnKind::Date) {
                if (const auto date = engine::plainIsoDate(text)) {
                    return *date;
                }
                return engine::dateFromStoredText(text);
            }
            return std::string(text);
        }
        default:
            return Variant::null();
    }
}

// value must stay unchanged until the statement has been reset: a text is not copied.
void bindValue(sqlite3* db, sqlite3_stmt* statement, int index, const BoundValue& value) {
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(value)) {
        rc = sqlite3_bind_null(statement, index);
    } else if (const auto* whole = std::get_if<long long>(&value)) {
        rc = sqlite3_bind_int64(statement, index, *whole);
    } else if (const auto* number = std::get_if<double>(&value)) {
        rc = sqlite3_bind_double(statement, index, *number);
    } else {
        const std::string& text = std::get<std::string>(value);
        rc = sqlite3_bind_text64(statement, index, text.data(), text.size(), SQLITE_STATIC,
                                 SQLITE_UTF8);
    }
    check(db, rc);
}

}  // namespace

void DatabaseCloser::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

void StatementFinalizer::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

StatementCache::StatementCache(sqlite3* db) : m_db(db), m_prepared(kStatementCacheSize) {}

sqlite3_stmt* StatementCache::get(std::string_view sql) {
    return m_prepared.get(sql, [&] { return prepare(sql); });
}

StatementHandle StatementCache::prepare(std::string_view sql) const {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v3(m_db, sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &raw, &tail);
    StatementHandle statement(raw);
    check(m_db, rc);
    if (!statement) {
        throw engineFailure("Invalid SQL statement: the statement is empty.", SQLITE_ERROR,
                            "42000");
    }
    for (const char* p = tail; p != nullptr && p < sql.data() + sql.size(); ++p) {
        if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';') {
            throw engineFailure("Characters found after end of SQL statement.", SQLITE_ERROR,
                                "42000");
        }
    }
    return statement;
}

StatementUse::~StatementUse() {
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

BoundValue valueFor(const dialect::Parameter& parameter, ColumnKind kind) {
    if (parameter.kind == dialect::Parameter::Kind::Number &&
        (kind == ColumnKind::Number || kind == ColumnKind::Unknown)) {
        if (std::optional<BoundValue> plain = engine::plainDecimal(parameter.value)) {
            return std::move(*plain);
        }
    }
    return engine::boundValueFor(parameter, kind);
}

ResultTable runBound(sqlite3* db, sqlite3_stmt* statement, const std::vector<BoundValue>& values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        bindValue(db, statement, static_cast<int>(i) + 1, values[i]);
    }
    ResultTable result;
    // NOTE: the columns are read after the first step. A statement kept from before a schema
    // change (this connection's or another's) is compiled again by that step, and only then
    // names the columns, and declares the types, that the rows it returns have.
    int rc = sqlite3_step(statement);
    const int columnCount = sqlite3_column_count(statement);
    std::vector<ColumnKind> kinds;
    if (columnCount > 0) {
        result.returnsRows = true;
        result.columns.reserve(static_cast<std::size_t>(columnCount));
        kinds.reserve(static_cast<std::size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) {
            const char* name = sqlite3_column_name(statement, c);
            const char* declared = sqlite3_column_decltype(statement, c);
            result.columns.emplace_back(name != nullptr ? name : "");
            kinds.push_back(declared != nullptr ? engine::columnKindOf(declared)
                                                : ColumnKind::Unknown);
        }
    }
    for (; rc == SQLITE_ROW; rc = sqlite3_step(statement)) {
        std::vector<Variant>& row = result.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) {
            row.push_back(readValue(statement, c, kinds[static_cast<std::size_t>(c)]));
        }
    }
    check(db, rc);
    if (!result.returnsRows) {
        result.rowsAffected = sqlite3_changes64(db);
    }
    return result;
}

}  // namespace quillet::sqlite
