#pragma once
/// \file
/// \brief A write transaction that keeps what was written however its scope ends.

#include "engine/Connection.h"
#include "runtime/RuntimeError.h"

namespace quillet {

/// \brief Begins a write transaction on an open connection and commits it however the scope
/// ends: rows written before an error stay, as they would without a transaction, while the
/// whole work still takes the write lock once and syncs once. A commit that fails at the end of
/// the scope rolls back instead. On a closed connection it holds no transaction.
class CommittingTransaction {
public:
    explicit CommittingTransaction(Connection& connection) : m_connection(connection) {
        if (connection.State() == kStateOpen) {
            connection.BeginTrans();
            m_open = true;
        }
    }
    ~CommittingTransaction() {
        if (!m_open) {
            return;
        }
        try {
            m_connection.CommitTrans();
        } catch (const RuntimeError&) {
            m_connection.tryRollback();
        }
    }
    CommittingTransaction(const CommittingTransaction&) = delete;
    CommittingTransaction& operator=(const CommittingTransaction&) = delete;

    /// Commits now; a failure is raised, and the transaction is over either way.
    void commit() {
        if (m_open) {
            m_open = false;
            m_connection.CommitTrans();
        }
    }

private:
    Connection& m_connection;
    bool m_open = false;
};

}  // namespace quillet
