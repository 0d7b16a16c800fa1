#pragma once
/// \file
/// \brief The connection object: a connection string, an open state, and transactions.

#include <memory>
#include <string>
#include <vector>

#include "quillet_store_export.h"

namespace quillet {

class Session;

/// Object states, by their classic numbers.
inline constexpr int kStateClosed = 0;
inline constexpr int kStateOpen = 1;

/// \brief A connection to a data source. Open resolves the data source of the connection string
/// and keeps the engine session until Close. Operations on a closed connection raise
/// "Operation is not allowed when the object is closed."
class QUILLET_STORE_EXPORT Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const std::string& ConnectionString() const { return m_connectionString; }
    void setConnectionString(std::string text) { m_connectionString = std::move(text); }

    /// Opens the data source. An empty connectionString argument uses the one already set;
    /// user and password arguments, when not empty, override those of the string.
    void Open(const std::string& connectionString = {}, const std::string& user = {},
              const std::string& password = {}, int options = -1);
    void Close();
    int State() const { return m_session ? kStateOpen : kStateClosed; }

    /// Write transactions (the engine's immediate transaction).
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    /// Rolls back an open transaction, swallowing any failure; for clean-up paths.
    void tryRollback() noexcept;

    /// \brief Runs data-changing statements in order as Recordset.Open would one by one (see
    /// Session::executeBatch), in as few round trips as the engine allows. ran counts those that
    /// ran: on a failure, the failing one's index.
    void ExecuteBatch(const std::vector<std::string>& statements, std::size_t& ran);

    /// The open session; raises when the connection is closed.
    Session& session();

    /// \brief Lives exactly as long as the connection stays open: a server-side recordset holds
    /// it weakly and counts as closed once the connection it came from is closed (or reopened).
    std::weak_ptr<const void> openToken() const { return m_openToken; }

    /// \brief Why the last Open failed (the data source's description, naming the file and the
    /// reason), or empty when the last Open succeeded. Operations refused on the closed
    /// connection carry it, so the error a caller reports names the cause.
    const std::string& openFailure() const { return m_openFailure; }

private:
    std::string m_connectionString;
    std::string m_openFailure;
    std::unique_ptr<Session> m_session;
    std::shared_ptr<const int> m_openToken;
};

}  // namespace quillet
