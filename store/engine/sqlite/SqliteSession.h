#pragma once
/// \file
/// \brief The embedded engine: one session on one SQLite database file.

#include <filesystem>
#include <memory>
#include <string_view>

#include "engine/Session.h"
#include "engine/common/StoreBusy.h"

namespace quillet::sqlite {

/// \brief A session on a SQLite database file. Statements arrive in the Access dialect and are
/// translated; literals lifted out of INSERT and UPDATE statements are bound by the declared type
/// of their target column. The database runs in WAL mode with a busy timeout, so a reader never
/// blocks a writer and a second writer waits instead of failing at once.
class SqliteSession final : public Session {
public:
    /// How long a statement waits for another connection's write lock before it fails.
    static constexpr int kBusyTimeoutMs = engine::kStoreBusyTimeoutMs;
    /// What a statement reports when it gave up waiting for that lock: it changed nothing.
    static constexpr std::string_view kBusyDescription = engine::kStoreBusyDescription;

    /// \brief Opens the database file, creating it when missing. When it holds no tables yet,
    /// runs schemaForNewStore (semicolon-separated statements in the engine's own dialect) in one
    /// transaction. A file that is not a readable database raises RuntimeError(err::StoreError)
    /// with the engine's description.
    static std::unique_ptr<SqliteSession> open(const std::filesystem::path& file,
                                               std::string_view schemaForNewStore);

    ~SqliteSession() override;
    SqliteSession(const SqliteSession&) = delete;
    SqliteSession& operator=(const SqliteSession&) = delete;

    ResultTable execute(std::string_view accessSql) override;

    /// BEGIN IMMEDIATE: the write lock is taken at once (waiting up to the busy timeout).
    void beginTransaction() override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;

    /// \brief Binds each row's numbers and date directly to the statement the translation of
    /// accessSql prepares, by the declared types of their target columns, as the literals of that
    /// statement would be bound. Null for anything but a single statement whose every parameter
    /// is a number or a date.
    std::unique_ptr<RowInsert> prepareRowInsert(std::string_view accessSql) override;

    struct Impl;
    /// Made by open(); the state is private to the engine.
    explicit SqliteSession(std::unique_ptr<Impl> impl);

private:
    std::unique_ptr<Impl> m_impl;
};

}  // namespace quillet::sqlite
