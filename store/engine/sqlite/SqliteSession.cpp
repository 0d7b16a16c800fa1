#include "engine/sqlite/SqliteSession.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <system_error>
#include <unordered_map>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/common/PlainValues.h"
#include "engine/sqlite/StoreKeeper.h"
#include "engine/common/TableDefinition.h"
#include "engine/common/TranslationCache.h"
#include "engine/common/ValueConversion.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::sqlite {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept { sqlite3_finalize(statement); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

constexpr std::size_t kStatementCacheSize = 64;
// The WAL file is cut back to this size whenever it starts over; with the automatic checkpoint
// every 1000 pages (4 MB) it stays within a few MB plus the largest single transaction.
constexpr const char* kWalSizeLimit = "PRAGMA journal_size_limit = 4194304";

bool containsText(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

// The engine's result codes mapped onto the SQLSTATE classes callers know from other drivers.
std::string sqlStateFor(int rc, std::string_view message) {
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            return "23000";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "HYT00";
        case SQLITE_READONLY:
            return "25006";
        case SQLITE_MISMATCH:
            return "22018";
        case SQLITE_TOOBIG:
            return "22001";
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_CANTOPEN:
            return "08001";
        case SQLITE_ERROR:
            if (containsText(message, "syntax error") ||
                containsText(message, "incomplete input") ||
                containsText(message, "unrecognized token")) {
                return "42000";
            }
            if (containsText(message, "no such table")) {
                return "42S02";
            }
            if (containsText(message, "no such column") || containsText(message, "has no column")) {
                return "42S22";
            }
            if (containsText(message, "duplicate column name")) {
                return "42S21";
            }
            if (containsText(message, "already exists")) {
                return "42S01";
            }
            if (containsText(message, "values were supplied")) {
                return "21S01";
            }
            return "HY000";
        default:
            return "HY000";
    }
}

// Failures of the file itself rather than of a statement: the user has to act on these.
bool isFileFailure(int code) {
    switch (code & 0xff) {
        case SQLITE_IOERR:
        case SQLITE_FULL:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return true;
        default:
            return false;
    }
}

// The engine does not keep the reason of a failed write (its system error number is often 0 by
// the time it reports); the two usual ones can be seen from outside: a full file system and the
// process's file-size limit.
std::string writeFailureReason(const std::filesystem::path& file) {
    struct statvfs disk {};
    if (::statvfs(file.parent_path().c_str(), &disk) == 0 && disk.f_bavail == 0) {
        return std::generic_category().message(ENOSPC);
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        constexpr std::uintmax_t kLargestWrite = 1 << 16;
        for (const char* suffix : {"", "-wal", "-journal"}) {
            std::error_code ignored;
            const std::uintmax_t size = std::filesystem::file_size(file.string() + suffix, ignored);
            if (!ignored && size + kLargestWrite > limit.rlim_cur) {
                return std::generic_category().message(EFBIG) + ": the file size limit of " +
                       std::to_string(limit.rlim_cur) + " bytes is reached";
            }
        }
    }
    return {};
}

// Why the file cannot be opened for reading and writing, as the system tells it for the file or,
// when there is none yet, for the folder it would be made in; empty when both are usable.
std::string accessFailureReason(const std::filesystem::path& file) {
    std::error_code ignored;
    const bool exists = std::filesystem::exists(file, ignored);
    const std::filesystem::path probed = exists ? file : file.parent_path();
    if (::access(probed.c_str(), exists ? (R_OK | W_OK) : (W_OK | X_OK)) == 0) {
        return {};
    }
    const std::string reason = std::generic_category().message(errno);
    return exists ? reason : reason + " in the folder '" + probed.string() + "'";
}

// The engine's own words ("unable to open database file", "disk I/O error") do not say why; the
// system's reason does. The engine's own record of it is not reliable (its system error number
// is often 0 or stale by the time it reports), so the file is looked at directly.
std::string withSystemReason(sqlite3* db, int code, std::string message) {
    const char* file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    if (file == nullptr || *file == '\0' || !isFileFailure(code)) {
        return message;
    }
    std::string reason = accessFailureReason(file);
    if (const int primary = code & 0xff;
        reason.empty() && (primary == SQLITE_IOERR || primary == SQLITE_FULL)) {
        reason = writeFailureReason(file);
    }
    if (!reason.empty()) {
        message += " (" + reason + ")";
    }
    return message;
}

RuntimeError engineError(sqlite3* db, int rc) {
    const int code = db != nullptr ? sqlite3_extended_errcode(db) : rc;
    if ((code & 0xff) == SQLITE_BUSY && code != SQLITE_BUSY_SNAPSHOT) {
        // The statement never ran: it (or the transaction it would open) gave up waiting for the
        // write lock another program holds.
        return {err::StoreError, std::string(SqliteSession::kBusyDescription), code, "HYT00"};
    }
    std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    std::string state = sqlStateFor(code, message);
    message = withSystemReason(db, code, std::move(message));
    // A write that fails on the file (full disk, file-size limit, permissions) names the file.
    const char* file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    if ((code & 0xff) != SQLITE_CANTOPEN && isFileFailure(code) && file != nullptr &&
        *file != '\0') {
        const bool reading = code == SQLITE_IOERR_READ || code == SQLITE_IOERR_SHORT_READ;
        message = "The data store '" + std::string(file) + "' cannot be " +
                  (reading ? "read: " : "written: ") + message;
    }
    return {err::StoreError, std::move(message), code, std::move(state)};
}

// The one place a result code becomes an exception.
void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        throw engineError(db, rc);
    }
}

void exec(sqlite3* db, const std::string& sql) {
    check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
}

RuntimeError engineFailure(std::string description, int nativeCode, std::string sqlState) {
    return {err::StoreError, std::move(description), nativeCode, std::move(sqlState)};
}

// A table name as the dialect hands it over may still carry its quotes or brackets.
std::string bareName(std::string_view name) {
    if (name.size() >= 2 && ((name.front() == '[' && name.back() == ']') ||
                             (name.front() == '"' && name.back() == '"') ||
                             (name.front() == '`' && name.back() == '`'))) {
        name = name.substr(1, name.size() - 2);
    }
    return std::string(name);
}

bool isSchemaChange(std::string_view sql) {
    std::size_t p = 0;
    while (p < sql.size() && std::isspace(static_cast<unsigned char>(sql[p]))) {
        ++p;
    }
    // Run for every statement: most start with neither letter, and need no further look.
    const char first = p < sql.size() ? static_cast<char>(sql[p] | 0x20) : '\0';
    if (first != 'c' && first != 'a' && first != 'd') {
        return false;
    }
    std::size_t end = p;
    while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) {
        ++end;
    }
    const std::string word = toLowerAscii(sql.substr(p, end - p));
    return word == "create" || word == "alter" || word == "drop";
}

/// Prepared statements by their SQL text, least recently used dropped first, so a statement run
/// once per row is compiled once.
class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : m_db(db) {}

    /// A prepared statement for sql, reset and without bindings.
    sqlite3_stmt* get(std::string_view sql) {
        // A statement run once per row is the one used last: no hashing for it.
        if (!m_entries.empty() && m_entries.front().sql == sql) {
            return m_entries.front().statement.get();
        }
        if (const auto found = m_index.find(sql); found != m_index.end()) {
            m_entries.splice(m_entries.begin(), m_entries, found->second);
            return found->second->statement.get();
        }
        StatementHandle statement = prepare(sql);
        if (m_entries.size() >= kStatementCacheSize) {
            m_index.erase(m_entries.back().sql);
            m_entries.pop_back();
        }
        m_entries.push_front(Entry{std::string(sql), std::move(statement)});
        m_index.emplace(m_entries.front().sql, m_entries.begin());
        return m_entries.front().statement.get();
    }

    /// Compiles one statement; text after it other than blanks and semicolons is refused, so
    /// nothing is ever silently left unrun.
    StatementHandle prepare(std::string_view sql) const {
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

private:
    struct Entry {
        std::string sql;
        StatementHandle statement;
    };
    sqlite3* m_db;
    std::list<Entry> m_entries;
    std::unordered_map<std::string_view, std::list<Entry>::iterator> m_index;
};

/// Ends one use of a cached statement however the use ends: the statement goes back reset and
/// unbound, releasing its read lock.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : m_statement(statement) {}
    ~StatementUse() {
        sqlite3_reset(m_statement);
        sqlite3_clear_bindings(m_statement);
    }
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    sqlite3_stmt* m_statement;
};

/// All or nothing for work made of several statements: its own immediate transaction when none
/// is open, a savepoint inside the caller's transaction otherwise.
class WriteUnit {
public:
    explicit WriteUnit(sqlite3* db) : m_db(db), m_ownsTransaction(sqlite3_get_autocommit(db) != 0) {
        exec(m_db, m_ownsTransaction ? "BEGIN IMMEDIATE" : "SAVEPOINT quillet_unit");
    }
    ~WriteUnit() {
        if (!m_done && sqlite3_get_autocommit(m_db) == 0) {
            // NOTE: the engine may already have rolled the whole transaction back after some
            // failures (a full disk, for one); then there is nothing left to undo here.
            sqlite3_exec(
                m_db,
                m_ownsTransaction ? "ROLLBACK" : "ROLLBACK TO quillet_unit; RELEASE quillet_unit",
                nullptr, nullptr, nullptr);
        }
    }
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit() {
        exec(m_db, m_ownsTransaction ? "COMMIT" : "RELEASE quillet_unit");
        m_done = true;
    }

private:
    sqlite3* m_db;
    bool m_ownsTransaction;
    bool m_done = false;
};

/// Renaming under the legacy rules, so that a rebuilt table takes its old name without the
/// engine rewriting (or rejecting) views and triggers that name it.
class LegacyRename {
public:
    explicit LegacyRename(sqlite3* db) : m_db(db) { exec(m_db, "PRAGMA legacy_alter_table = ON"); }
    ~LegacyRename() {
        sqlite3_exec(m_db, "PRAGMA legacy_alter_table = OFF", nullptr, nullptr, nullptr);
    }
    LegacyRename(const LegacyRename&) = delete;
    LegacyRename& operator=(const LegacyRename&) = delete;

private:
    sqlite3* m_db;
};

using ColumnInfo = TableColumn;

Variant readValue(sqlite3_stmt* statement, int column, ColumnKind kind) {
    switch (sqlite3_column_type(statement, column)) {
        case SQLITE_INTEGER: {
            const auto value = static_cast<long long>(sqlite3_column_int64(statement, column));
            if (kind == ColumnKind::Date) {
                if (const auto date = dateFromSerial(static_cast<double>(value))) {
                    return *date;
                }
            }
            return Variant(value);
        }
        case SQLITE_FLOAT: {
            const double value = sqlite3_column_double(statement, column);
            if (kind == ColumnKind::Date) {
                if (const auto date = dateFromSerial(value)) {
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
                if (const auto date = plainIsoDate(text)) {
                    return *date;
                }
                return dateFromStoredText(text);
            }
            return std::string(text);
        }
        default:
            return Variant::null();
    }
}

// A number the program wrote into a number column skips the general reading.
BoundValue valueFor(const dialect::Parameter& parameter, ColumnKind kind) {
    if (parameter.kind == dialect::Parameter::Kind::Number &&
        (kind == ColumnKind::Number || kind == ColumnKind::Unknown)) {
        if (std::optional<BoundValue> plain = plainDecimal(parameter.value)) {
            return std::move(*plain);
        }
    }
    return boundValueFor(parameter, kind);
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

struct SqliteSession::Impl {
    explicit Impl(DatabaseHandle handle) : db(std::move(handle)), statements(db.get()) {}

    DatabaseHandle db;
    // Declared after the database: its statements are finalised before the database closes.
    StatementCache statements;
    TranslationCache translations;
    // The values bound to the statement running now. The engine reads texts from here instead of
    // copying each one: they stay put until the next statement, after this one was reset.
    std::vector<BoundValue> boundValues;
    // Declared column kinds by lower-case table name, valid for one schema version.
    std::unordered_map<std::string, std::vector<ColumnInfo>> columns;
    long long columnsSchemaVersion = -1;
    // Counts the times the cached column kinds were dropped; kinds kept with a cached
    // translation are good while it has not moved.
    long long columnsEpoch = 0;
    // The schema version was read within the write transaction still open: no other connection
    // can change the schema before it ends, so it need not be read again for every row.
    bool columnsChecked = false;
    bool columnsCheckedThisStatement = false;

    void forgetColumns() {
        columns.clear();
        ++columnsEpoch;
    }

    long long queryInteger(const char* sql) {
        StatementHandle statement = statements.prepare(sql);
        const int rc = sqlite3_step(statement.get());
        check(db.get(), rc);
        return rc == SQLITE_ROW ? static_cast<long long>(sqlite3_column_int64(statement.get(), 0))
                                : 0;
    }

    void prepareStore(std::string_view schema) {
        // Reading the catalogue is the first real read: a file that is not a database fails
        // here, before anything is written to it.
        const long long tables = queryInteger("SELECT count(*) FROM sqlite_master");
        exec(db.get(), "PRAGMA journal_mode = WAL");
        // In WAL mode NORMAL keeps the file consistent after a crash and skips a sync per
        // commit; a power loss can cost at most the last transactions.
        exec(db.get(), "PRAGMA synchronous = NORMAL");
        exec(db.get(), kWalSizeLimit);
        if (tables == 0) {
            createSchema(schema);
        }
    }

    void createSchema(std::string_view schema) {
        WriteUnit unit(db.get());
        // Another program may have created it while this one waited for the write lock.
        if (queryInteger("SELECT count(*) FROM sqlite_master") == 0) {
            exec(db.get(), std::string(schema));
            exec(db.get(), "PRAGMA user_version = 1");
        }
        unit.commit();
    }

    // Forget cached column kinds when this or another connection changed the schema.
    void refreshColumnKinds() {
        if (columnsChecked || columnsCheckedThisStatement) {
            return;
        }
        sqlite3_stmt* statement = statements.get("PRAGMA schema_version");
        const StatementUse use(statement);
        const int rc = sqlite3_step(statement);
        check(db.get(), rc);
        const long long version =
            rc == SQLITE_ROW ? static_cast<long long>(sqlite3_column_int64(statement, 0)) : -1;
        if (version != columnsSchemaVersion) {
            forgetColumns();
            columnsSchemaVersion = version;
        }
        columnsCheckedThisStatement = true;
        columnsChecked = sqlite3_txn_state(db.get(), "main") == SQLITE_TXN_WRITE;
    }

    // Before each statement: outside a write transaction another connection may change the
    // schema between two statements.
    void beginStatement() {
        columnsCheckedThisStatement = false;
        if (sqlite3_txn_state(db.get(), "main") != SQLITE_TXN_WRITE) {
            columnsChecked = false;
        }
    }

    // The target kinds of a single statement's parameters, looked up once per schema version.
    const std::vector<ColumnKind>& parameterKinds(CachedTranslation& cached) {
        const auto& parameters = cached.translation.statements.front().parameters;
        if (!parameters.empty()) {
            refreshColumnKinds();
        }
        if (cached.kindsVersion != columnsEpoch || cached.kinds.size() != parameters.size()) {
            cached.kinds.clear();
            for (const dialect::Parameter& parameter : parameters) {
                cached.kinds.push_back(targetKind(parameter));
            }
            cached.kindsVersion = columnsEpoch;
        }
        return cached.kinds;
    }

    const std::vector<ColumnInfo>& tableColumns(const std::string& table) {
        refreshColumnKinds();
        const std::string key = toLowerAscii(bareName(table));
        if (const auto found = columns.find(key); found != columns.end()) {
            return found->second;
        }
        std::vector<ColumnInfo> infos;
        sqlite3_stmt* statement = statements.get("SELECT name, type FROM pragma_table_info(?1)");
        const StatementUse use(statement);
        check(db.get(), sqlite3_bind_text64(statement, 1, key.data(), key.size(), SQLITE_TRANSIENT,
                                            SQLITE_UTF8));
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
            infos.push_back({toLowerAscii(name != nullptr ? name : ""),
                             columnKindOf(type != nullptr ? type : "")});
        }
        check(db.get(), rc);
        return columns.emplace(key, std::move(infos)).first->second;
    }

    ColumnKind targetKind(const dialect::Parameter& parameter) {
        if (parameter.table.empty()) {
            return ColumnKind::Unknown;
        }
        const std::string wanted =
            parameter.column.empty() ? std::string() : toLowerAscii(bareName(parameter.column));
        return targetColumnKind(tableColumns(parameter.table), wanted, parameter.position);
    }

    // knownKinds: the parameters' target kinds when already looked up, else null.
    ResultTable run(const dialect::EngineStatement& engineStatement,
                    const std::vector<ColumnKind>* knownKinds = nullptr) {
        sqlite3* const handle = db.get();
        sqlite3_stmt* statement = statements.get(engineStatement.sql);
        const StatementUse use(statement);

        const auto& parameters = engineStatement.parameters;
        if (sqlite3_bind_parameter_count(statement) != static_cast<int>(parameters.size())) {
            throw engineFailure("The statement's values do not match its placeholders.",
                                SQLITE_RANGE, "07002");
        }
        // Every value is converted before anything runs, so a refused value writes nothing.
        boundValues.clear();
        for (std::size_t i = 0; i < parameters.size(); ++i) {
            const ColumnKind kind =
                knownKinds != nullptr ? (*knownKinds)[i] : targetKind(parameters[i]);
            boundValues.push_back(valueFor(parameters[i], kind));
        }
        for (std::size_t i = 0; i < boundValues.size(); ++i) {
            bindValue(handle, statement, static_cast<int>(i) + 1, boundValues[i]);
        }

        ResultTable result;
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
                kinds.push_back(declared != nullptr ? columnKindOf(declared) : ColumnKind::Unknown);
            }
        }
        int rc = SQLITE_OK;
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            std::vector<Variant>& row = result.rows.emplace_back();
            row.reserve(static_cast<std::size_t>(columnCount));
            for (int c = 0; c < columnCount; ++c) {
                row.push_back(readValue(statement, c, kinds[static_cast<std::size_t>(c)]));
            }
        }
        check(handle, rc);
        if (!result.returnsRows) {
            result.rowsAffected = sqlite3_changes64(handle);
        }
        if (isSchemaChange(engineStatement.sql)) {
            columnsChecked = false;
            columnsCheckedThisStatement = false;
        }
        return result;
    }

    // One statement, prepared on its own and stepped to its end; a second statement in sql is
    // refused before anything runs.
    void runSingle(const std::string& sql) {
        const StatementHandle statement = statements.prepare(sql);
        int rc = SQLITE_ROW;
        while (rc == SQLITE_ROW) {
            rc = sqlite3_step(statement.get());
        }
        check(db.get(), rc);
    }

    void alterColumn(const dialect::AlterColumn& change) {
        sqlite3* const handle = db.get();
        WriteUnit unit(handle);

        std::string storedName;
        std::string createSql;
        {
            sqlite3_stmt* statement = statements.get(
                "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = ?1 "
                "COLLATE NOCASE");
            const StatementUse use(statement);
            const std::string table = bareName(change.table);
            check(handle, sqlite3_bind_text64(statement, 1, table.data(), table.size(),
                                              SQLITE_TRANSIENT, SQLITE_UTF8));
            const int rc = sqlite3_step(statement);
            check(handle, rc);
            if (rc != SQLITE_ROW) {
                throw engineFailure("no such table: " + table, SQLITE_ERROR, "42S02");
            }
            storedName = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
            createSql = reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        }
        // Indexes and triggers go with the old table; they are made again on the new one.
        std::vector<std::string> dependents;
        {
            sqlite3_stmt* statement = statements.get(
                "SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') "
                "AND tbl_name = ?1 COLLATE NOCASE AND sql IS NOT NULL");
            const StatementUse use(statement);
            check(handle, sqlite3_bind_text64(statement, 1, storedName.data(), storedName.size(),
                                              SQLITE_TRANSIENT, SQLITE_UTF8));
            int rc = SQLITE_OK;
            while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
                dependents.emplace_back(
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
            }
            check(handle, rc);
        }

        const std::string quotedTable = quoteIdentifier(storedName);
        const std::string quotedRebuild = quoteIdentifier("quillet_rebuild_" + storedName);
        const std::optional<std::string> rebuilt =
            createWithColumnType(createSql, quotedRebuild, bareName(change.column), change.type);
        if (!rebuilt) {
            throw engineFailure("no such column: " + storedName + "." + bareName(change.column),
                                SQLITE_ERROR, "42S22");
        }
        // NOTE: each step is one prepared statement, never a script: text the stored definition
        // or the new declaration might smuggle in after a statement is refused, not run, and a
        // failing step leaves the unit to roll the whole rebuild back.
        runSingle(*rebuilt);
        runSingle("INSERT INTO " + quotedRebuild + " SELECT * FROM " + quotedTable);
        runSingle("DROP TABLE " + quotedTable);
        {
            const LegacyRename legacy(handle);
            runSingle("ALTER TABLE " + quotedRebuild + " RENAME TO " + quotedTable);
        }
        for (const std::string& sql : dependents) {
            runSingle(sql);
        }
        unit.commit();
        forgetColumns();
        columnsSchemaVersion = -1;
        columnsChecked = false;
        columnsCheckedThisStatement = false;
    }
};

SqliteSession::SqliteSession(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

SqliteSession::~SqliteSession() = default;

std::unique_ptr<SqliteSession> SqliteSession::open(const std::filesystem::path& file,
                                                   std::string_view schemaForNewStore) {
    sqlite3* raw = nullptr;
    const int rc =
        sqlite3_open_v2(file.c_str(), &raw,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) {
        // The handle of a failed open no longer knows its file name; the reason is added here.
        const RuntimeError error = engineError(db.get(), rc);
        const std::string reason = accessFailureReason(file);
        throw RuntimeError(
            error.number(),
            reason.empty() ? error.description() : error.description() + " (" + reason + ")",
            error.nativeCode(), error.sqlState());
    }
    // The engine falls back to reading a file it may not write; every caller writes, so a
    // read-only store is refused here with its reason instead of failing at the first change.
    if (sqlite3_db_readonly(db.get(), "main") == 1) {
        const std::string reason = accessFailureReason(file);
        throw engineFailure("the file is read-only" + (reason.empty() ? "" : " (" + reason + ")"),
                            SQLITE_READONLY, "25006");
    }
    sqlite3_extended_result_codes(db.get(), 1);
    sqlite3_busy_timeout(db.get(), kBusyTimeoutMs);
    // NOTE: every operation opens and closes its own connection. Closing the last connection
    // would checkpoint the WAL into the database and delete it, with two syncs each time; the
    // automatic checkpoints, with the connection kept open below, bound the WAL instead, and the
    // kept connection leaves the database file whole when the program ends.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    int persistWal = 1;
    sqlite3_file_control(db.get(), "main", SQLITE_FCNTL_PERSIST_WAL, &persistWal);
    auto impl = std::make_unique<Impl>(std::move(db));
    impl->prepareStore(schemaForNewStore);
    keepStoreOpen(file);
    return std::make_unique<SqliteSession>(std::move(impl));
}

ResultTable SqliteSession::execute(std::string_view accessSql) {
    Impl& impl = *m_impl;
    CachedTranslation& cached = impl.translations.translate(accessSql);
    const dialect::Translation& translation = cached.translation;
    impl.beginStatement();
    if (translation.alterColumn) {
        impl.alterColumn(*translation.alterColumn);
        return {};
    }
    if (translation.statements.empty()) {
        throw engineFailure("Invalid SQL statement: the statement is empty.", SQLITE_ERROR,
                            "42000");
    }
    if (translation.statements.size() == 1) {
        return impl.run(translation.statements.front(), &impl.parameterKinds(cached));
    }
    WriteUnit unit(impl.db.get());
    ResultTable last;
    long long affected = 0;
    for (const dialect::EngineStatement& statement : translation.statements) {
        last = impl.run(statement);
        affected += last.rowsAffected;
    }
    unit.commit();
    last.rowsAffected = affected;
    return last;
}

void SqliteSession::beginTransaction() {
    m_impl->columnsChecked = false;
    exec(m_impl->db.get(), "BEGIN IMMEDIATE");
}

void SqliteSession::commit() {
    exec(m_impl->db.get(), "COMMIT");
}

void SqliteSession::rollback() {
    exec(m_impl->db.get(), "ROLLBACK");
}

bool SqliteSession::inTransaction() const {
    return sqlite3_get_autocommit(m_impl->db.get()) == 0;
}

}  // namespace quillet::sqlite
