#pragma once
/// \file
/// \brief What an ODBC session holds, kept whole when the session is put aside for reuse.

#include <memory>
#include <set>
#include <string>

#include "engine/common/ColumnKindCache.h"
#include "engine/common/TranslationCache.h"
#include "engine/odbc/DatabaseRules.h"
#include "engine/odbc/OdbcConnection.h"
#include "engine/odbc/OdbcSession.h"

namespace quillet::odbc {

struct OdbcSession::Impl {
    /// The data source and credentials it was opened with: idle sessions are reused by it.
    std::string key;
    /// The data source as the caller named it, for messages.
    std::string dataSource;
    std::unique_ptr<OdbcConnection> connection;
    std::unique_ptr<DatabaseRules> rules;
    std::string dbms;
    bool inTransaction = false;
    /// A statement has run in the open write transaction (the driver has begun it on the server).
    bool ranInTransaction = false;
    /// Tables locked in the open write transaction.
    std::set<std::string> lockedTables;
    engine::ColumnKindCache columns;
    /// Translations of the statements written in batches, by shape (set once the rules are).
    engine::TranslationCache translations;
    /// The process's schema generation the column kinds were read in.
    unsigned long columnsGeneration = 0;
};

/// \brief Counts the schema changes made through any session of this process: a session kept
/// for reuse keeps the column kinds it read only while no change was made since.
unsigned long schemaGeneration();
/// \brief Records a schema change made through a session of this process.
void countSchemaChange();

}  // namespace quillet::odbc
