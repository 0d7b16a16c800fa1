#include "engine/Connection.h"

#include "engine/ConnectionString.h"
#include "engine/DataSource.h"
#include "engine/ObjectErrors.h"
#include "engine/Session.h"

namespace quillet {

// Out of line: the session's type is complete only here, so callers need not see engine internals.
Connection::Connection() = default;
Connection::~Connection() = default;

void Connection::Open(const std::string& connectionString, const std::string& user,
                      const std::string& password, int options) {
    (void)options;  // every open is synchronous
    if (m_session) {
        throw objectErrors::alreadyOpen();
    }
    if (!connectionString.empty()) {
        m_connectionString = connectionString;
    }
    ConnectionSettings settings = parseConnectionString(m_connectionString);
    if (!user.empty()) {
        settings.user = user;
    }
    if (!password.empty()) {
        settings.password = password;
    }
    try {
        m_session = openDataSource(settings);
    } catch (const RuntimeError& e) {
        m_openFailure = e.description();
        throw;
    }
    m_openFailure.clear();
    m_openToken = std::make_shared<const int>(0);
}

void Connection::Close() {
    if (!m_session) {
        throw objectErrors::closed();
    }
    // NOTE: a transaction still open here is rolled back by the engine as the session ends;
    // callers that mean to keep their work commit first.
    m_openToken.reset();
    m_session.reset();
}

void Connection::BeginTrans() {
    session().beginTransaction();
}

void Connection::CommitTrans() {
    session().commit();
}

void Connection::RollbackTrans() {
    session().rollback();
}

void Connection::tryRollback() noexcept {
    try {
        if (m_session && m_session->inTransaction()) {
            m_session->rollback();
        }
    } catch (...) {
        // Clean-up path: the engine rolls back on close anyway.
    }
}

void Connection::ExecuteBatch(const std::vector<std::string>& statements, std::size_t& ran) {
    ran = 0;
    if (!m_session) {
        throw objectErrors::invalidConnection(m_openFailure);
    }
    m_session->executeBatch(statements, ran);
}

Session& Connection::session() {
    if (!m_session) {
        throw objectErrors::closed(m_openFailure);
    }
    return *m_session;
}

}  // namespace quillet
