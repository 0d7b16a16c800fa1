#pragma once
/// \file
/// \brief Everything in which one database system reached through a driver differs from
/// another, behind one interface: the session code never names a system.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/Session.h"
#include "engine/common/EngineLink.h"
#include "engine/common/ValueConversion.h"
#include "engine/odbc/OdbcStatement.h"
#include "runtime/RuntimeError.h"

namespace quillet::odbc {

class OdbcConnection;

/// \brief A table to lock inside a write transaction before a statement runs, and the Access
/// statement that locks it.
struct TableLock {
    std::string table;
    std::string accessSql;
};

/// \brief The rules of one database system. One object per connected session; a new system is
/// one more class (and its dialect) listed in rulesForDbms().
class DatabaseRules {
public:
    virtual ~DatabaseRules() = default;

    /// The dialect the Access statements are translated into.
    virtual dialect::Target dialect() const = 0;
    /// Learns what the rules need of a fresh connection (a server's current schema).
    virtual void connected(OdbcConnection& connection) = 0;

    /// True when a connection kept idle still reaches its database (a server may have closed it
    /// meanwhile, which the driver learns only when it next speaks to it).
    virtual bool stillConnected(OdbcConnection& connection) const = 0;

    /// The store as a message names it: the data source, and the file it opened where it is one.
    virtual std::string place(const std::string& dataSource) const {
        return "the data source '" + dataSource + "'";
    }

    /// Why the database cannot hold every text, naming the fix; empty when it can.
    virtual std::string textUnfitness() const { return {}; }

    /// Takes a lock that keeps other sessions from changing the schema, held until
    /// unlockSchemaChanges or the end of the session; nothing where a write transaction already
    /// keeps other writers out.
    virtual void lockSchemaChanges(OdbcConnection& /*connection*/) const {}
    virtual void unlockSchemaChanges(OdbcConnection& /*connection*/) const {}

    /// Opens a write transaction that no other writer can slip into.
    virtual void beginWrite(OdbcConnection& connection) const = 0;
    /// Ends it, committing or rolling back, and leaves the connection as it was before.
    virtual void endWrite(OdbcConnection& connection, bool commit) const = 0;

    /// The declared column kinds of a table (given without quotes), from the catalog.
    virtual std::vector<engine::TableColumn> tableColumns(OdbcConnection& connection,
                                                          const std::string& table) const = 0;
    /// How a Null or a text for a column of this kind is bound.
    virtual SqlBinding bindingFor(engine::ColumnKind kind) const = 0;
    /// The lock to take inside a write transaction before accessSql runs: before a new serial is
    /// read, and before a table is emptied to be written afresh (Calculate's rewrite of EMI).
    virtual std::optional<TableLock> lockBefore(std::string_view accessSql) const = 0;
    /// Changes a column's declared type, keeping the stored values.
    virtual void alterColumn(engine::EngineLink& link, OdbcConnection& connection,
                             const dialect::AlterColumn& change) const = 0;

    /// Learns the spelling of the names a schema-changing statement writes.
    virtual void learnSpellings(std::string_view accessSql) const = 0;
    /// Puts the statement's spelling back on the result's column names.
    virtual void respell(ResultTable& result, std::string_view accessSql) const = 0;
    /// An error's description with the statement's spelling put back on the names it quotes.
    virtual std::string respeltNames(std::string description, std::string_view accessSql) const = 0;
};

/// \brief The rules for the DBMS a driver reports (matched without regard to case); null when
/// the system is not supported.
std::unique_ptr<DatabaseRules> rulesForDbms(std::string_view dbmsName);

/// \brief The supported systems' names, for telling the user ("SQLite, PostgreSQL").
std::string supportedDbmsNames();

}  // namespace quillet::odbc
