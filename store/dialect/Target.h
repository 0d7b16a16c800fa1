#pragma once
/// \file
/// \brief The SQL dialects the Access statements are translated into.

namespace quillet::dialect {

/// \brief The engine dialect a statement is translated for. SQLite serves the embedded store and
/// SQLite files reached through the driver manager; PostgreSQL serves office servers.
enum class Target {
    SQLite,
    PostgreSQL,
};

}  // namespace quillet::dialect
