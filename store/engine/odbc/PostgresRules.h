#pragma once
/// \file
/// \brief The rules of a PostgreSQL server reached through a driver.

#include <string>

#include "engine/odbc/DatabaseRules.h"

namespace quillet::odbc {

/// \brief A PostgreSQL server: transactions through the driver's manual commit, names folded to
/// lower case (and respelt as written), dates bound as timestamps, a table locked before a new
/// serial is read, and a column's type changed by the server itself.
class PostgresRules final : public DatabaseRules {
public:
    dialect::Target dialect() const override;
    void connected(OdbcConnection& connection) override;
    bool stillConnected(OdbcConnection& connection) const override;
    std::string textUnfitness() const override;
    void lockSchemaChanges(OdbcConnection& connection) const override;
    void unlockSchemaChanges(OdbcConnection& connection) const override;
    void beginWrite(OdbcConnection& connection) const override;
    void endWrite(OdbcConnection& connection, bool commit) const override;
    std::vector<engine::TableColumn> tableColumns(OdbcConnection& connection,
                                                  const std::string& table) const override;
    SqlBinding bindingFor(engine::ColumnKind kind) const override;
    std::optional<TableLock> lockBefore(std::string_view accessSql) const override;
    void alterColumn(engine::EngineLink& link, OdbcConnection& connection,
                     const dialect::AlterColumn& change) const override;
    void learnSpellings(std::string_view accessSql) const override;
    void respell(ResultTable& result, std::string_view accessSql) const override;
    std::string respeltNames(std::string description, std::string_view accessSql) const override;

private:
    /// The schema unqualified names reach.
    std::string m_schema;
    /// The database's character encoding ("UTF8", "LATIN1", ...).
    std::string m_encoding;
};

}  // namespace quillet::odbc
