#pragma once
/// \file
/// \brief One connection through the driver manager: its handles, its prepared statements and
/// the plain requests every database system's rules are built from.

#include <memory>
#include <string>
#include <vector>

#include "engine/Session.h"
#include "engine/common/PreparedCache.h"
#include "engine/common/ValueConversion.h"
#include "engine/odbc/OdbcHandles.h"
#include "engine/odbc/OdbcStatement.h"
#include "runtime/Variant.h"

namespace quillet::odbc {

/// \brief A connected data source. Every failure is a RuntimeError.
class OdbcConnection {
public:
    /// \brief Connects with a ready connection string. A failure raises
    /// RuntimeError(err::StoreConnectFailed) whose description starts with prefix and never holds
    /// secret.
    static std::unique_ptr<OdbcConnection> connect(const std::string& connectionString,
                                                   const std::string& secret,
                                                   const std::string& prefix);

    /// The DBMS name and version the driver reports.
    std::string dbmsName() const;
    std::string dbmsVersion() const;
    /// False once the driver knows the server has gone.
    bool isAlive() const;

    /// Runs one statement without parameters, reading no result.
    void direct(const std::string& sql);
    /// A query's rows, every value as text; values are bound to its "?" placeholders as texts.
    std::vector<std::vector<Variant>> query(const std::string& sql,
                                            const std::vector<std::string>& values = {});
    /// The catalog's rows for a table name (a pattern to the driver): schema at [1], table at
    /// [2], column at [3], type name at [5].
    std::vector<std::vector<Variant>> catalogColumns(const std::string& table);
    /// Runs sql on a fresh statement and reads its result.
    ResultTable execute(const std::string& sql);

    /// A prepared statement for sql (kept for reuse, least recently used dropped first).
    void* prepared(const std::string& sql);
    /// \brief A prepared statement for sql that only ever runs with parameter arrays, kept apart
    /// from prepared(): a driver may choose how it sends a statement's rows at its first execute
    /// (psqlODBC sends an array's rows together only when the first execute carries an array).
    void* arrayPrepared(const std::string& sql);
    /// Drops the prepared statements (after a schema change).
    void forgetPrepared();

    /// How this driver is read and written, as the database system's rules set it.
    const DriverHabits& habits() const { return m_habits; }
    void setHabits(const DriverHabits& habits) { m_habits = habits; }

    /// Switches the driver's automatic commit on or off.
    void setAutocommit(bool on);
    /// Commits or rolls back the driver's transaction.
    void endTransaction(bool commit);

private:
    OdbcConnection();
    StatementHandle newStatement();
    StatementHandle newPrepared(const std::string& sql);

    DriverHabits m_habits;
    EnvironmentHandle m_environment;
    ConnectionHandle m_connection;
    // Declared after the connection: its statements are freed before it disconnects.
    engine::PreparedCache<StatementHandle> m_prepared;
    engine::PreparedCache<StatementHandle> m_arrayPrepared;
};

}  // namespace quillet::odbc
