#pragma once
/// \file
/// \brief The ODBC engine: one session on a data source registered with the driver manager.

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "dialect/Target.h"
#include "engine/Session.h"
#include "quillet_store_export.h"
#include "runtime/RuntimeError.h"

namespace quillet::odbc {

/// \brief A session through the system's driver manager (unixODBC). The DBMS the driver reports
/// at connect picks the dialect the Access statements are translated into; literals lifted out
/// of INSERT and UPDATE statements are converted by the type of their target column and bound.
/// Every driver diagnostic becomes one RuntimeError carrying the first record's SQLSTATE and
/// native code and every record's message.
class QUILLET_STORE_INTERNAL OdbcSession final : public Session {
public:
    /// \brief Connects to the registered data source. User and password go to the driver only
    /// where the data source stores none of its own; empty ones are not sent. A DBMS other than
    /// SQLite or PostgreSQL is refused with a message naming it. Failures raise RuntimeError
    /// (err::StoreConnectFailed) whose description never holds the password.
    static std::unique_ptr<OdbcSession> open(const std::string& dataSource, const std::string& user,
                                             const std::string& password);

    ~OdbcSession() override;
    OdbcSession(const OdbcSession&) = delete;
    OdbcSession& operator=(const OdbcSession&) = delete;

    ResultTable execute(std::string_view accessSql) override;

    /// A write transaction that no other writer can slip into (see the engine's notes).
    void beginTransaction() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    std::string textUnfitness() const override;
    void lockSchemaChanges() override;
    void unlockSchemaChanges() override;
    /// Statements of one shape in a write transaction go to a server that takes parameter
    /// arrays in one execute, under a savepoint; after a failure there, they run singly.
    void executeBatch(const std::vector<std::string>& accessSqls, std::size_t& ran) override;

    dialect::Target target() const;
    /// The DBMS name and version the driver reports, for telling the user which store is in use.
    const std::string& dbmsDescription() const;

    struct Impl;
    explicit OdbcSession(std::unique_ptr<Impl> impl);

private:
    ResultTable run(std::string_view accessSql);
    // The private steps are not part of the library's interface.
    QUILLET_STORE_NO_EXPORT void runBatch(const std::vector<std::string>& accessSqls,
                                          std::size_t& ran);
    /// The failure told again naming the store, where it is the store's (lost, not writable)
    /// rather than the statement's; nothing when it is the statement's or names the store.
    QUILLET_STORE_NO_EXPORT std::optional<RuntimeError> namingTheStore(const RuntimeError& e) const;
    /// Runs step, raising its failures named by namingTheStore.
    template <class Step>
    void namingFailures(Step&& step);

    std::unique_ptr<Impl> m_impl;
};

/// \brief Disconnects the sessions kept for reuse, so that the next open reads the data
/// source's settings afresh.
void releaseIdleSessions();

}  // namespace quillet::odbc
