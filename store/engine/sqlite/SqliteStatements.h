#pragma once
/// \file
/// \brief Statements of the embedded engine: their handles, the cache that compiles a
/// statement once, and running one with its values bound.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Session.h"
#include "engine/common/PreparedCache.h"
#include "engine/common/ValueConversion.h"

struct sqlite3;
struct sqlite3_stmt;

namespace quillet::sqlite {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept;
};
struct StatementFinalizer {
    void operator()(sqlite3_stmt* statement) const noexcept;
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;
using StatementHandle = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

/// \brief Prepared statements by their SQL text, least recently used dropped first, so a
/// statement run once per row is compiled once.
class StatementCache {
public:
    explicit StatementCache(sqlite3* db);

    /// A prepared statement for sql, reset and without bindings.
    sqlite3_stmt* get(std::string_view sql);

    /// Compiles one statement; text after it other than blanks and semicolons is refused, so
    /// nothing is ever silently left unrun.
    StatementHandle prepare(std::string_view sql) const;

private:
    sqlite3* m_db;
    engine::PreparedCache<StatementHandle> m_prepared;
};

/// \brief Ends one use of a cached statement however the use ends: the statement goes back
/// reset and unbound, releasing its read lock.
class StatementUse {
public:
    explicit StatementUse(sqlite3_stmt* statement) : m_statement(statement) {}
    ~StatementUse();
    StatementUse(const StatementUse&) = delete;
    StatementUse& operator=(const StatementUse&) = delete;

private:
    sqlite3_stmt* m_statement;
};

/// \brief The value to bind for a lifted literal; a number the program wrote into a number
/// column skips the general reading.
engine::BoundValue valueFor(const dialect::Parameter& parameter, engine::ColumnKind kind);

/// \brief Binds values to the statement's placeholders, steps it to its end and reads its rows
/// (dates from columns declared as dates as Date values). The values must stay unchanged until
/// the statement has been reset: texts are not copied.
ResultTable runBound(sqlite3* db, sqlite3_stmt* statement,
                     const std::vector<engine::BoundValue>& values);

}  // namespace quillet::sqlite
