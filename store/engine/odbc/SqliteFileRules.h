#pragma once
/// \file
/// \brief The rules of a SQLite database file reached through a driver.

#include <string>

#include "engine/odbc/DatabaseRules.h"

namespace quillet::odbc {

/// \brief A SQLite file: the write lock is taken when the transaction begins, names keep the
/// spelling they were written with, and a column changes type by rebuilding its table as in
/// the embedded store.
class SqliteFileRules final : public DatabaseRules {
public:
    dialect::Target dialect() const override;
    void connected(OdbcConnection& connection) override;
    std::string place(const std::string& dataSource) const override;
    bool stillConnected(OdbcConnection& connection) const override;
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
    /// The database file the driver opened.
    std::string m_file;
};

}  // namespace quillet::odbc
