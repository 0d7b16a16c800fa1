#include "engine/odbc/OdbcSession.h"

#include <sql.h>
#include <sqlext.h>

#include <pthread.h>

#include <atomic>
#include <chrono>
#include <list>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/odbc/NameSpellings.h"
#include "engine/odbc/OdbcDiagnostics.h"
#include "engine/odbc/OdbcRegistry.h"
#include "engine/odbc/ResultValues.h"
#include "engine/odbc/SerialQuery.h"
#include "engine/common/TableDefinition.h"
#include "engine/common/ValueConversion.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

using dialect::Target;

template <SQLSMALLINT Type>
struct HandleFree {
    void operator()(SQLHANDLE handle) const noexcept { SQLFreeHandle(Type, handle); }
};
struct ConnectionFree {
    void operator()(SQLHANDLE handle) const noexcept {
        SQLDisconnect(handle);
        SQLFreeHandle(SQL_HANDLE_DBC, handle);
    }
};
using EnvironmentHandle = std::unique_ptr<void, HandleFree<SQL_HANDLE_ENV>>;
using ConnectionHandle = std::unique_ptr<void, ConnectionFree>;
using StatementHandle = std::unique_ptr<void, HandleFree<SQL_HANDLE_STMT>>;

constexpr std::size_t kPreparedCacheSize = 32;

// Counts the schema changes made through any session of this process: a session kept for reuse
// keeps the column types it read only while no change was made since.
std::atomic<unsigned long> g_schemaGeneration{0};

bool contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

// A connection-string value, braced when it holds what would end or open one.
std::string attributeValue(const std::string& value) {
    if (value.find_first_of(";{}") == std::string::npos &&
        (value.empty() || value.front() != ' ')) {
        return value;
    }
    std::string out = "{";
    for (const char c : value) {
        out += c;
        if (c == '}') {
            out += '}';
        }
    }
    return out + "}";
}

// NOTE: the class writes "userID= Admin;Password= secret": the blank after '=' belongs to its
// connection string, not to the credential, and a server login with a leading blank fails.
std::string withoutLeadingBlank(const std::string& value) {
    return !value.empty() && value.front() == ' ' ? value.substr(1) : value;
}

std::string textOf(const Variant& value) {
    return value.isNull() ? std::string() : value.toString();
}

using ColumnInfo = sqlite::TableColumn;

/// One parameter's value, kept alive until the statement has run.
struct BoundParameter {
    std::string text;
    long long whole = 0;
    double real = 0;
    SQLLEN indicator = 0;
};

}  // namespace

struct OdbcSession::Impl {
    /// The data source and credentials it was opened with: idle sessions are reused by it.
    std::string key;
    EnvironmentHandle environment;
    ConnectionHandle connection;
    Target target = Target::SQLite;
    std::string dbms;
    /// The schema unqualified names reach (PostgreSQL); empty where there is no such notion.
    std::string schema;
    bool inTransaction = false;
    std::set<std::string> lockedTables;
    std::unordered_map<std::string, std::vector<ColumnInfo>> columns;
    unsigned long columnsGeneration = 0;
    struct Prepared {
        std::string sql;
        StatementHandle statement;
    };
    std::list<Prepared> prepared;

    SQLHDBC dbc() const { return connection.get(); }

    StatementHandle newStatement() {
        SQLHANDLE raw = SQL_NULL_HANDLE;
        check(SQLAllocHandle(SQL_HANDLE_STMT, dbc(), &raw), SQL_HANDLE_DBC, dbc());
        return StatementHandle(raw);
    }

    void direct(const std::string& sql) {
        StatementHandle statement = newStatement();
        check(SQLExecDirect(statement.get(),
                            reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                            static_cast<SQLINTEGER>(sql.size())),
              SQL_HANDLE_STMT, statement.get());
    }

    void begin() {
        if (inTransaction) {
            throw engineFailure("A transaction is already open on this connection.", "25000");
        }
        if (target == Target::SQLite) {
            // NOTE: the SQLite driver's manual-commit mode opens a deferred transaction, in which
            // two writers that both read first deadlock when they write; an immediate one takes
            // the write lock at once, as the embedded store does.
            direct("BEGIN IMMEDIATE");
        } else {
            check(SQLSetConnectAttr(dbc(), SQL_ATTR_AUTOCOMMIT,
                                    reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0),
                  SQL_HANDLE_DBC, dbc());
        }
        inTransaction = true;
        lockedTables.clear();
    }

    void end(bool commit) {
        if (!inTransaction) {
            throw engineFailure("No transaction is open on this connection.", "25000");
        }
        inTransaction = false;
        if (target == Target::SQLite) {
            direct(commit ? "COMMIT" : "ROLLBACK");
            return;
        }
        const SQLRETURN rc = SQLEndTran(SQL_HANDLE_DBC, dbc(), commit ? SQL_COMMIT : SQL_ROLLBACK);
        const SQLRETURN back = SQLSetConnectAttr(
            dbc(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON), 0);
        check(rc, SQL_HANDLE_DBC, dbc());
        check(back, SQL_HANDLE_DBC, dbc());
    }

    std::string catalogName(const std::string& name) const {
        // PostgreSQL stores unquoted names folded to lower case.
        return target == Target::PostgreSQL ? toLowerAscii(name) : name;
    }

    const std::vector<ColumnInfo>& tableColumns(const std::string& table) {
        // Another session of this process may have changed a table since these were read: an
        // open session sees that change on its next statement, as an embedded connection does.
        if (columnsGeneration != g_schemaGeneration) {
            columns.clear();
            columnsGeneration = g_schemaGeneration;
        }
        const std::string key = toLowerAscii(table);
        if (const auto found = columns.find(key); found != columns.end()) {
            return found->second;
        }
        std::vector<ColumnInfo> infos;
        StatementHandle statement = newStatement();
        const std::string name = catalogName(table);
        check(SQLColumns(statement.get(), nullptr, 0, nullptr, 0,
                         reinterpret_cast<SQLCHAR*>(const_cast<char*>(name.c_str())), SQL_NTS,
                         nullptr, 0),
              SQL_HANDLE_STMT, statement.get());
        const std::vector<std::vector<Variant>> rows = fetchRows(statement.get(), 0, nullptr);
        for (const auto& row : rows) {
            // Table names are patterns to the driver ('_' matches any one character).
            // A table of that name in another schema of the server is not the one statements
            // reach.
            const bool inSchema = schema.empty() || textOf(row[1]) == schema;
            if (row.size() >= 6 && inSchema && equalsIgnoringCase(textOf(row[2]), table)) {
                infos.push_back(
                    {toLowerAscii(textOf(row[3])), sqlite::columnKindOf(textOf(row[5]))});
            }
        }
        return columns.emplace(key, std::move(infos)).first->second;
    }

    sqlite::ColumnKind targetKind(const dialect::Parameter& parameter) {
        if (parameter.table.empty()) {
            return sqlite::ColumnKind::Unknown;
        }
        const std::string wanted =
            parameter.column.empty() ? std::string() : toLowerAscii(parameter.column);
        return sqlite::targetColumnKind(tableColumns(parameter.table), wanted, parameter.position);
    }

    SQLHSTMT preparedFor(const std::string& sql) {
        for (auto it = prepared.begin(); it != prepared.end(); ++it) {
            if (it->sql == sql) {
                prepared.splice(prepared.begin(), prepared, it);
                return prepared.front().statement.get();
            }
        }
        StatementHandle statement = newStatement();
        check(
            SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                       static_cast<SQLINTEGER>(sql.size())),
            SQL_HANDLE_STMT, statement.get());
        if (prepared.size() >= kPreparedCacheSize) {
            prepared.pop_back();
        }
        prepared.push_front(Prepared{sql, std::move(statement)});
        return prepared.front().statement.get();
    }

    void bind(SQLHSTMT statement, SQLUSMALLINT index, const sqlite::BoundValue& value,
              sqlite::ColumnKind kind, BoundParameter& slot) {
        const bool dateTarget = kind == sqlite::ColumnKind::Date && target == Target::PostgreSQL;
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLSMALLINT sqlType = SQL_VARCHAR;
        SQLULEN size = 1;
        SQLPOINTER data = nullptr;
        SQLLEN length = 0;
        if (std::holds_alternative<std::monostate>(value)) {
            slot.indicator = SQL_NULL_DATA;
            sqlType = dateTarget                           ? SQL_TYPE_TIMESTAMP
                      : kind == sqlite::ColumnKind::Number ? SQL_DOUBLE
                                                           : SQL_VARCHAR;
        } else if (const auto* whole = std::get_if<long long>(&value)) {
            slot.whole = *whole;
            cType = SQL_C_SBIGINT;
            sqlType = SQL_BIGINT;
            size = 19;
            data = &slot.whole;
        } else if (const auto* real = std::get_if<double>(&value)) {
            slot.real = *real;
            cType = SQL_C_DOUBLE;
            sqlType = SQL_DOUBLE;
            size = 15;
            data = &slot.real;
        } else {
            slot.text = std::get<std::string>(value);
            slot.indicator = static_cast<SQLLEN>(slot.text.size());
            sqlType = dateTarget ? SQL_TYPE_TIMESTAMP : SQL_VARCHAR;
            size = dateTarget ? 19 : std::max<SQLULEN>(1, slot.text.size());
            data = slot.text.data();
            length = static_cast<SQLLEN>(slot.text.size());
        }
        SQLLEN* indicator = cType == SQL_C_CHAR ? &slot.indicator : nullptr;
        check(SQLBindParameter(statement, index, SQL_PARAM_INPUT, cType, sqlType, size, 0, data,
                               length, indicator),
              SQL_HANDLE_STMT, statement);
    }

    static std::optional<std::string> textColumn(SQLHSTMT statement, SQLUSMALLINT column) {
        std::string text;
        char buffer[512];
        while (true) {
            SQLLEN indicator = 0;
            const SQLRETURN rc =
                SQLGetData(statement, column, SQL_C_CHAR, buffer, sizeof buffer, &indicator);
            if (rc == SQL_NO_DATA) {
                break;
            }
            check(rc, SQL_HANDLE_STMT, statement);
            if (indicator == SQL_NULL_DATA) {
                return std::nullopt;
            }
            const std::size_t room = sizeof buffer - 1;
            const bool truncated = indicator == SQL_NO_TOTAL ||
                                   (indicator >= 0 && static_cast<std::size_t>(indicator) > room);
            text.append(buffer, truncated ? room : static_cast<std::size_t>(indicator));
            if (!truncated) {
                break;
            }
        }
        return text;
    }

    /// Every remaining row of the statement's result, each value read by its column's family
    /// (or as text when families is null).
    static std::vector<std::vector<Variant>> fetchRows(SQLHSTMT statement, SQLSMALLINT count,
                                                       const std::vector<ValueFamily>* families) {
        if (count == 0) {
            check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
        }
        std::vector<std::vector<Variant>> rows;
        while (true) {
            const SQLRETURN rc = SQLFetch(statement);
            if (rc == SQL_NO_DATA) {
                break;
            }
            check(rc, SQL_HANDLE_STMT, statement);
            std::vector<Variant>& row = rows.emplace_back();
            row.reserve(static_cast<std::size_t>(count));
            for (SQLSMALLINT c = 1; c <= count; ++c) {
                std::optional<std::string> text =
                    textColumn(statement, static_cast<SQLUSMALLINT>(c));
                if (!text) {
                    row.push_back(Variant::null());
                } else if (families == nullptr) {
                    row.emplace_back(std::move(*text));
                } else {
                    row.push_back(
                        valueFromText(*text, (*families)[static_cast<std::size_t>(c - 1)]));
                }
            }
        }
        return rows;
    }

    ResultTable readResult(SQLHSTMT statement) {
        ResultTable result;
        SQLSMALLINT count = 0;
        check(SQLNumResultCols(statement, &count), SQL_HANDLE_STMT, statement);
        if (count <= 0) {
            SQLLEN affected = 0;
            check(SQLRowCount(statement, &affected), SQL_HANDLE_STMT, statement);
            result.rowsAffected = affected < 0 ? 0 : affected;
            return result;
        }
        result.returnsRows = true;
        std::vector<ValueFamily> families;
        for (SQLSMALLINT c = 1; c <= count; ++c) {
            SQLCHAR name[256] = {};
            SQLSMALLINT nameLength = 0;
            check(SQLColAttribute(statement, static_cast<SQLUSMALLINT>(c), SQL_DESC_LABEL, name,
                                  sizeof name, &nameLength, nullptr),
                  SQL_HANDLE_STMT, statement);
            SQLCHAR typeName[128] = {};
            SQLSMALLINT typeLength = 0;
            check(SQLColAttribute(statement, static_cast<SQLUSMALLINT>(c), SQL_DESC_TYPE_NAME,
                                  typeName, sizeof typeName, &typeLength, nullptr),
                  SQL_HANDLE_STMT, statement);
            result.columns.emplace_back(reinterpret_cast<const char*>(name));
            families.push_back(familyOfTypeName(reinterpret_cast<const char*>(typeName)));
        }
        result.rows = fetchRows(statement, count, &families);
        return result;
    }

    ResultTable run(const dialect::EngineStatement& engineStatement) {
        if (engineStatement.parameters.empty()) {
            StatementHandle statement = newStatement();
            const std::string& sql = engineStatement.sql;
            const SQLRETURN rc = SQLExecDirect(
                statement.get(), reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                static_cast<SQLINTEGER>(sql.size()));
            check(rc, SQL_HANDLE_STMT, statement.get());
            if (rc == SQL_NO_DATA) {
                return {};
            }
            return readResult(statement.get());
        }
        // Every value is converted before anything runs, so a refused value writes nothing.
        const auto& parameters = engineStatement.parameters;
        std::vector<std::pair<sqlite::BoundValue, sqlite::ColumnKind>> values;
        values.reserve(parameters.size());
        for (const dialect::Parameter& parameter : parameters) {
            const sqlite::ColumnKind kind = targetKind(parameter);
            values.emplace_back(sqlite::boundValueFor(parameter, kind), kind);
        }
        SQLHSTMT statement = preparedFor(engineStatement.sql);
        struct Reset {
            SQLHSTMT statement;
            ~Reset() {
                SQLFreeStmt(statement, SQL_CLOSE);
                SQLFreeStmt(statement, SQL_RESET_PARAMS);
            }
        } reset{statement};
        std::vector<BoundParameter> slots(values.size());
        for (std::size_t i = 0; i < values.size(); ++i) {
            bind(statement, static_cast<SQLUSMALLINT>(i + 1), values[i].first, values[i].second,
                 slots[i]);
        }
        const SQLRETURN rc = SQLExecute(statement);
        check(rc, SQL_HANDLE_STMT, statement);
        if (rc == SQL_NO_DATA) {
            return {};
        }
        return readResult(statement);
    }

    void forgetSchema() {
        ++g_schemaGeneration;
        columns.clear();
        prepared.clear();
    }

    void alterColumn(const dialect::AlterColumn& change);
    void alterSqliteColumn(const dialect::AlterColumn& change);
    void alterPostgresColumn(const dialect::AlterColumn& change);
    std::vector<std::vector<Variant>> query(const std::string& sql) {
        StatementHandle statement = newStatement();
        check(SQLExecDirect(statement.get(),
                            reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str())),
                            static_cast<SQLINTEGER>(sql.size())),
              SQL_HANDLE_STMT, statement.get());
        return fetchRows(statement.get(), 0, nullptr);
    }
};

namespace {

/// All or nothing for work made of several statements: its own transaction when none is open,
/// a savepoint inside the caller's otherwise.
class WriteUnit {
public:
    explicit WriteUnit(OdbcSession::Impl& session)
        : m_session(session), m_ownsTransaction(!session.inTransaction) {
        if (m_ownsTransaction) {
            m_session.begin();
        } else {
            m_session.direct("SAVEPOINT quillet_unit");
        }
    }
    ~WriteUnit() {
        if (m_done) {
            return;
        }
        try {
            if (m_ownsTransaction) {
                m_session.end(false);
            } else {
                m_session.direct("ROLLBACK TO SAVEPOINT quillet_unit");
                m_session.direct("RELEASE SAVEPOINT quillet_unit");
            }
        } catch (const RuntimeError&) {
            // Clean-up path: the failure that brought us here is the one to report.
        }
    }
    WriteUnit(const WriteUnit&) = delete;
    WriteUnit& operator=(const WriteUnit&) = delete;

    void commit() {
        if (m_ownsTransaction) {
            m_session.end(true);
        } else {
            m_session.direct("RELEASE SAVEPOINT quillet_unit");
        }
        m_done = true;
    }

private:
    OdbcSession::Impl& m_session;
    bool m_ownsTransaction;
    bool m_done = false;
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

std::string quotedText(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        out += c;
        if (c == '\'') {
            out += '\'';
        }
    }
    return out + "'";
}

bool isNumberType(std::string_view dataType) {
    const std::string lower = toLowerAscii(dataType);
    return contains(lower, "int") || contains(lower, "numeric") || contains(lower, "double") ||
           contains(lower, "real");
}

}  // namespace

void OdbcSession::Impl::alterColumn(const dialect::AlterColumn& change) {
    if (target == Target::PostgreSQL) {
        alterPostgresColumn(change);
    } else {
        alterSqliteColumn(change);
    }
    forgetSchema();
}

// A SQLite file cannot change a column in place either: the table is rebuilt, as in the
// embedded store.
void OdbcSession::Impl::alterSqliteColumn(const dialect::AlterColumn& change) {
    WriteUnit unit(*this);
    const auto tables =
        query("SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = " +
              quotedText(change.table) + " COLLATE NOCASE");
    if (tables.empty()) {
        throw engineFailure("no such table: " + change.table, "42S02");
    }
    const std::string storedName = textOf(tables.front()[0]);
    const auto dependents =
        query("SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') AND tbl_name = " +
              quotedText(storedName) + " COLLATE NOCASE AND sql IS NOT NULL");
    const std::string quotedTable = sqlite::quoteIdentifier(storedName);
    const std::string quotedRebuild = sqlite::quoteIdentifier("quillet_rebuild_" + storedName);
    const std::optional<std::string> rebuilt = sqlite::createWithColumnType(
        textOf(tables.front()[1]), quotedRebuild, change.column, change.type);
    if (!rebuilt) {
        throw engineFailure("no such column: " + storedName + "." + change.column, "42S22");
    }
    direct(*rebuilt);
    direct("INSERT INTO " + quotedRebuild + " SELECT * FROM " + quotedTable);
    direct("DROP TABLE " + quotedTable);
    direct("PRAGMA legacy_alter_table = ON");
    direct("ALTER TABLE " + quotedRebuild + " RENAME TO " + quotedTable);
    direct("PRAGMA legacy_alter_table = OFF");
    for (const auto& row : dependents) {
        direct(textOf(row[0]));
    }
    unit.commit();
}

// NOTE: PostgreSQL converts the stored values itself; numbers and dates convert through the
// classic serial day count (day 0 is 1899-12-30), as the runtime converts them.
void OdbcSession::Impl::alterPostgresColumn(const dialect::AlterColumn& change) {
    const auto found = query(
        "SELECT data_type FROM information_schema.columns WHERE table_schema = current_schema() "
        "AND table_name = " +
        quotedText(toLowerAscii(change.table)) +
        " AND column_name = " + quotedText(toLowerAscii(change.column)));
    if (found.empty()) {
        throw engineFailure("no such column: " + change.table + "." + change.column, "42S22");
    }
    const std::string from = textOf(found.front()[0]);
    const std::string column = "\"" + toLowerAscii(change.column) + "\"";
    const bool toDate = contains(toLowerAscii(change.type), "timestamp");
    const bool toNumber = isNumberType(change.type);
    std::string conversion = column + "::" + change.type;
    if (toDate && isNumberType(from)) {
        conversion = "timestamp '1899-12-30' + " + column + " * interval '1 day'";
    } else if (toNumber && contains(from, "timestamp")) {
        conversion = "extract(epoch from " + column + " - timestamp '1899-12-30') / 86400";
    }
    direct("ALTER TABLE \"" + toLowerAscii(change.table) + "\" ALTER COLUMN " + column + " TYPE " +
           change.type + " USING " + conversion);
}

namespace {

/// \brief Sessions closed a moment ago, for the next open of the same data source.
///
/// NOTE: every operation opens and closes its own connection, and a server login (a new server
/// process, a password exchange) costs more than all the inserts of a Calculate. A closed
/// session is therefore kept for a short while, its transaction rolled back, and handed to the
/// next open with the same data source and credentials, prepared statements and all.
class IdleSessions {
public:
    static IdleSessions& instance() {
        static IdleSessions sessions;
        return sessions;
    }

    std::unique_ptr<OdbcSession::Impl> take(const std::string& key) {
        const std::lock_guard lock(m_mutex);
        const auto now = Clock::now();
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (now - it->since > kMaxIdle) {
                it = m_entries.erase(it);
            } else if (it->impl->key == key) {
                std::unique_ptr<OdbcSession::Impl> impl = std::move(it->impl);
                m_entries.erase(it);
                if (isAlive(*impl)) {
                    return impl;
                }
                return nullptr;
            } else {
                ++it;
            }
        }
        return nullptr;
    }

    void put(std::unique_ptr<OdbcSession::Impl> impl) {
        const std::lock_guard lock(m_mutex);
        if (m_entries.size() >= kMaxIdleSessions) {
            m_entries.erase(m_entries.begin());
        }
        m_entries.push_back({std::move(impl), Clock::now()});
    }

    void clear() {
        std::vector<Entry> closing;
        {
            const std::lock_guard lock(m_mutex);
            closing.swap(m_entries);
        }
    }

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxIdleSessions = 4;
    static constexpr auto kMaxIdle = std::chrono::seconds(30);

    struct Entry {
        std::unique_ptr<OdbcSession::Impl> impl;
        Clock::time_point since;
    };

    IdleSessions() { pthread_atfork(nullptr, nullptr, &abandonInChild); }

    // A forked child shares its parent's server connections; it must neither use nor close
    // them, so it forgets them without a word to the server.
    static void abandonInChild() {
        for (Entry& entry : instance().m_entries) {
            static_cast<void>(entry.impl.release());
        }
        instance().m_entries.clear();
    }

    static bool isAlive(OdbcSession::Impl& impl) {
        SQLUINTEGER dead = SQL_CD_FALSE;
        const SQLRETURN rc =
            SQLGetConnectAttr(impl.dbc(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
        return SQL_SUCCEEDED(rc) && dead == SQL_CD_FALSE;
    }

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

}  // namespace

void releaseIdleSessions() {
    IdleSessions::instance().clear();
}

OdbcSession::OdbcSession(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

OdbcSession::~OdbcSession() {
    if (!m_impl) {
        return;
    }
    if (m_impl->inTransaction) {
        try {
            m_impl->end(false);
        } catch (const RuntimeError&) {
            return;  // the session is not sound: disconnecting ends the transaction anyway
        }
    }
    IdleSessions::instance().put(std::move(m_impl));
}

std::unique_ptr<OdbcSession> OdbcSession::open(const std::string& dataSource,
                                               const std::string& user,
                                               const std::string& password) {
    // Credentials stored with the data source win; ours go only where it stores none.
    const std::string sentUser = withoutLeadingBlank(user);
    const std::string sentPassword = withoutLeadingBlank(password);
    const std::string key = toLowerAscii(dataSource) + '\n' + sentUser + '\n' + sentPassword;
    if (std::unique_ptr<Impl> idle = IdleSessions::instance().take(key)) {
        // NOTE: column types read before are kept while this process changed no schema; another
        // desk changing a column's type meanwhile is met by the server's own type check.
        if (idle->columnsGeneration != g_schemaGeneration) {
            idle->columns.clear();
            idle->columnsGeneration = g_schemaGeneration;
        }
        idle->lockedTables.clear();
        return std::make_unique<OdbcSession>(std::move(idle));
    }
    auto impl = std::make_unique<Impl>();
    impl->key = key;
    impl->columnsGeneration = g_schemaGeneration;
    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw))) {
        throw RuntimeError(err::StoreConnectFailed, "The ODBC driver manager cannot be started.", 0,
                           "HY001");
    }
    impl->environment.reset(raw);
    check(SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, raw);
    SQLHANDLE dbc = SQL_NULL_HANDLE;
    check(SQLAllocHandle(SQL_HANDLE_DBC, raw, &dbc), SQL_HANDLE_ENV, raw);
    // Not yet connected: freed alone if connecting fails.
    std::unique_ptr<void, HandleFree<SQL_HANDLE_DBC>> pending(dbc);

    std::string connection = "DSN=" + attributeValue(dataSource);
    if (storedAttribute(dataSource, {"UID", "Username", "User", "UserName"}).empty() &&
        !sentUser.empty()) {
        connection += ";UID=" + attributeValue(sentUser);
    }
    if (storedAttribute(dataSource, {"PWD", "Password"}).empty() && !sentPassword.empty()) {
        connection += ";PWD=" + attributeValue(sentPassword);
    }
    const std::string prefix = "The data source '" + dataSource + "' cannot be opened: ";
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnect(
        dbc, nullptr, reinterpret_cast<SQLCHAR*>(connection.data()),
        static_cast<SQLSMALLINT>(connection.size()), nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        throw errorFrom(SQL_HANDLE_DBC, dbc, err::StoreConnectFailed, sentPassword, prefix);
    }
    impl->connection.reset(pending.release());

    SQLCHAR name[256] = {};
    SQLSMALLINT nameLength = 0;
    check(SQLGetInfo(dbc, SQL_DBMS_NAME, name, sizeof name, &nameLength), SQL_HANDLE_DBC, dbc);
    SQLCHAR version[256] = {};
    SQLSMALLINT versionLength = 0;
    check(SQLGetInfo(dbc, SQL_DBMS_VER, version, sizeof version, &versionLength), SQL_HANDLE_DBC,
          dbc);
    const std::string dbmsName = reinterpret_cast<const char*>(name);
    if (equalsIgnoringCase(dbmsName, "PostgreSQL")) {
        impl->target = Target::PostgreSQL;
        const auto current = impl->query("select current_schema()");
        impl->schema = current.empty() ? std::string() : textOf(current.front()[0]);
    } else if (equalsIgnoringCase(dbmsName, "SQLite")) {
        impl->target = Target::SQLite;
    } else {
        throw RuntimeError(err::StoreConnectFailed,
                           prefix + "its database system, '" + dbmsName +
                               "', is not supported (supported: SQLite, PostgreSQL).",
                           0, "HY000");
    }
    impl->dbms = dbmsName + " " + reinterpret_cast<const char*>(version);
    return std::make_unique<OdbcSession>(std::move(impl));
}

ResultTable OdbcSession::execute(std::string_view accessSql) {
    if (m_impl->target != Target::PostgreSQL) {
        return run(accessSql);
    }
    try {
        ResultTable result = run(accessSql);
        for (std::string& column : result.columns) {
            column = respelt(column, accessSql);
        }
        return result;
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.number(), respeltQuotedNames(e.description(), accessSql),
                           e.nativeCode(), e.sqlState());
    }
}

ResultTable OdbcSession::run(std::string_view accessSql) {
    Impl& impl = *m_impl;
    if (holdsSecondStatement(accessSql)) {
        throw engineFailure("Characters found after end of SQL statement.", "42000");
    }
    const dialect::Translation translation = dialect::translate(accessSql, impl.target);
    if (translation.alterColumn) {
        impl.alterColumn(*translation.alterColumn);
        if (impl.target == Target::PostgreSQL) {
            learnNameSpellings(accessSql);
        }
        return {};
    }
    if (translation.statements.empty() || translation.statements.front().sql.empty()) {
        throw engineFailure("Invalid SQL statement: the statement is empty.", "42000");
    }
    // NOTE: a new serial is the largest one plus 1; on a server, the read and the insert that
    // follows must not interleave with another desk's. Inside a write transaction the table is
    // locked against other writers (readers go on) until the transaction ends.
    if (impl.inTransaction && impl.target == Target::PostgreSQL) {
        if (const std::optional<std::string> table = serialQueryTable(accessSql);
            table && impl.lockedTables.insert(toLowerAscii(*table)).second) {
            impl.run(dialect::translate("LOCK TABLE " + *table + " IN EXCLUSIVE MODE", impl.target)
                         .statements.front());
        }
    }
    const bool schemaChange = !translation.returnsRows && [&] {
        const std::string_view body = trimmed(accessSql);
        const std::string head = toLowerAscii(body.substr(0, body.find_first_of(" \t\r\n(")));
        return head == "create" || head == "alter" || head == "drop";
    }();
    if (schemaChange && impl.target == Target::PostgreSQL) {
        learnNameSpellings(accessSql);
    }
    if (translation.statements.size() == 1) {
        ResultTable result = impl.run(translation.statements.front());
        if (schemaChange) {
            impl.forgetSchema();
        }
        return result;
    }
    WriteUnit unit(impl);
    ResultTable last;
    long long affected = 0;
    for (const dialect::EngineStatement& statement : translation.statements) {
        last = impl.run(statement);
        affected += last.rowsAffected;
    }
    unit.commit();
    impl.forgetSchema();
    last.rowsAffected = affected;
    return last;
}

void OdbcSession::beginTransaction() {
    m_impl->begin();
}

void OdbcSession::commit() {
    m_impl->end(true);
}

void OdbcSession::rollback() {
    m_impl->end(false);
}

bool OdbcSession::inTransaction() const {
    return m_impl->inTransaction;
}

dialect::Target OdbcSession::target() const {
    return m_impl->target;
}

const std::string& OdbcSession::dbmsDescription() const {
    return m_impl->dbms;
}

}  // namespace quillet::odbc
