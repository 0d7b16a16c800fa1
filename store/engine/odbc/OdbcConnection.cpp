#include "engine/odbc/OdbcConnection.h"

#include <sql.h>
#include <sqlext.h>

#include "engine/odbc/OdbcDiagnostics.h"
#include "engine/odbc/OdbcStatement.h"

namespace quillet::odbc {

namespace {

constexpr std::size_t kPreparedCacheSize = 32;
// Statements written in batches: a run writes one table at a time.
constexpr std::size_t kArrayCacheSize = 4;

SQLCHAR* sqlText(const std::string& sql) {
    return reinterpret_cast<SQLCHAR*>(const_cast<char*>(sql.c_str()));
}

std::string infoText(SQLHDBC dbc, SQLUSMALLINT what) {
    SQLCHAR text[256] = {};
    SQLSMALLINT length = 0;
    check(SQLGetInfo(dbc, what, text, sizeof text, &length), SQL_HANDLE_DBC, dbc);
    return reinterpret_cast<const char*>(text);
}

}  // namespace

OdbcConnection::OdbcConnection()
    : m_prepared(kPreparedCacheSize), m_arrayPrepared(kArrayCacheSize) {}

std::unique_ptr<OdbcConnection> OdbcConnection::connect(const std::string& connectionString,
                                                        const std::string& secret,
                                                        const std::string& prefix) {
    std::unique_ptr<OdbcConnection> connection(new OdbcConnection());
    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw))) {
        throw RuntimeError(err::StoreConnectFailed, "The ODBC driver manager cannot be started.", 0,
                           "HY001");
    }
    connection->m_environment.reset(raw);
    check(SQLSetEnvAttr(raw, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0),
          SQL_HANDLE_ENV, raw);
    SQLHANDLE dbc = SQL_NULL_HANDLE;
    check(SQLAllocHandle(SQL_HANDLE_DBC, raw, &dbc), SQL_HANDLE_ENV, raw);
    // Not yet connected: freed alone if connecting fails.
    UnconnectedHandle pending(dbc);
    std::string text = connectionString;
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnect(dbc, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                          static_cast<SQLSMALLINT>(text.size()), nullptr, 0,
                                          &outLength, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        throw errorFrom(SQL_HANDLE_DBC, dbc, err::StoreConnectFailed, secret, prefix);
    }
    connection->m_connection.reset(pending.release());
    return connection;
}

std::string OdbcConnection::dbmsName() const {
    return infoText(m_connection.get(), SQL_DBMS_NAME);
}

std::string OdbcConnection::dbmsVersion() const {
    return infoText(m_connection.get(), SQL_DBMS_VER);
}

bool OdbcConnection::isAlive() const {
    SQLUINTEGER dead = SQL_CD_FALSE;
    const SQLRETURN rc =
        SQLGetConnectAttr(m_connection.get(), SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr);
    return SQL_SUCCEEDED(rc) && dead == SQL_CD_FALSE;
}

StatementHandle OdbcConnection::newStatement() {
    SQLHANDLE raw = SQL_NULL_HANDLE;
    check(SQLAllocHandle(SQL_HANDLE_STMT, m_connection.get(), &raw), SQL_HANDLE_DBC,
          m_connection.get());
    return StatementHandle(raw);
}

void OdbcConnection::direct(const std::string& sql) {
    const StatementHandle statement = newStatement();
    check(SQLExecDirect(statement.get(), sqlText(sql), static_cast<SQLINTEGER>(sql.size())),
          SQL_HANDLE_STMT, statement.get());
}

std::vector<std::vector<Variant>> OdbcConnection::query(const std::string& sql,
                                                        const std::vector<std::string>& values) {
    const StatementHandle statement = newStatement();
    if (values.empty()) {
        check(SQLExecDirect(statement.get(), sqlText(sql), static_cast<SQLINTEGER>(sql.size())),
              SQL_HANDLE_STMT, statement.get());
        return fetchTextRows(statement.get());
    }
    check(SQLPrepare(statement.get(), sqlText(sql), static_cast<SQLINTEGER>(sql.size())),
          SQL_HANDLE_STMT, statement.get());
    return queryPrepared(statement.get(), values);
}

std::vector<std::vector<Variant>> OdbcConnection::catalogColumns(const std::string& table) {
    const StatementHandle statement = newStatement();
    check(SQLColumns(statement.get(), nullptr, 0, nullptr, 0, sqlText(table), SQL_NTS, nullptr, 0),
          SQL_HANDLE_STMT, statement.get());
    return fetchTextRows(statement.get());
}

ResultTable OdbcConnection::execute(const std::string& sql) {
    const StatementHandle statement = newStatement();
    return executeDirect(statement.get(), sql, m_habits);
}

StatementHandle OdbcConnection::newPrepared(const std::string& sql) {
    StatementHandle statement = newStatement();
    check(SQLPrepare(statement.get(), sqlText(sql), static_cast<SQLINTEGER>(sql.size())),
          SQL_HANDLE_STMT, statement.get());
    return statement;
}

void* OdbcConnection::prepared(const std::string& sql) {
    return m_prepared.get(sql, [&] { return newPrepared(sql); });
}

void* OdbcConnection::arrayPrepared(const std::string& sql) {
    return m_arrayPrepared.get(sql, [&] { return newPrepared(sql); });
}

void OdbcConnection::forgetPrepared() {
    m_prepared.clear();
    m_arrayPrepared.clear();
}

void OdbcConnection::setAutocommit(bool on) {
    check(SQLSetConnectAttr(
              m_connection.get(), SQL_ATTR_AUTOCOMMIT,
              reinterpret_cast<SQLPOINTER>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF), 0),
          SQL_HANDLE_DBC, m_connection.get());
}

void OdbcConnection::endTransaction(bool commit) {
    const SQLRETURN rc =
        SQLEndTran(SQL_HANDLE_DBC, m_connection.get(), commit ? SQL_COMMIT : SQL_ROLLBACK);
    check(rc, SQL_HANDLE_DBC, m_connection.get());
}

}  // namespace quillet::odbc
