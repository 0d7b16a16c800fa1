#include "engine/common/TableRebuild.h"

#include <optional>
#include <string>
#include <vector>

#include "engine/common/Names.h"
#include "engine/common/TableDefinition.h"
#include "engine/common/WriteUnit.h"

namespace quillet::engine {

namespace {

/// Renaming under the legacy rules, so that a rebuilt table takes its old name without the
/// engine rewriting (or rejecting) views and triggers that name it. The rule is switched off
/// again on every path out.
class LegacyRename {
public:
    explicit LegacyRename(EngineLink& link) : m_link(link) {
        m_link.runSingle("PRAGMA legacy_alter_table = ON");
    }
    ~LegacyRename() {
        try {
            m_link.runSingle("PRAGMA legacy_alter_table = OFF");
        } catch (const RuntimeError&) {
            // Clean-up path: the failure that brought us here is the one to report.
        }
    }
    LegacyRename(const LegacyRename&) = delete;
    LegacyRename& operator=(const LegacyRename&) = delete;

private:
    EngineLink& m_link;
};

}  // namespace

void rebuildWithColumnType(EngineLink& link, const dialect::AlterColumn& change) {
    WriteUnit unit(link);
    const std::string table = bareName(change.table);
    const std::string column = bareName(change.column);
    const auto tables = link.selectTexts(
        "SELECT name, sql FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
        {table});
    if (tables.empty() || tables.front().size() < 2) {
        throw link.failure("no such table: " + table, "42S02");
    }
    const std::string storedName = tables.front()[0];
    // Indexes and triggers go with the old table; they are made again on the new one.
    const auto dependents = link.selectTexts(
        "SELECT sql FROM sqlite_master WHERE type IN ('index', 'trigger') "
        "AND tbl_name = ? COLLATE NOCASE AND sql IS NOT NULL",
        {storedName});

    const std::string quotedTable = quoteIdentifier(storedName);
    const std::string quotedRebuild = quoteIdentifier("quillet_rebuild_" + storedName);
    const std::optional<std::string> rebuilt =
        createWithColumnType(tables.front()[1], quotedRebuild, column, change.type);
    if (!rebuilt) {
        throw link.failure("no such column: " + storedName + "." + column, "42S22");
    }
    // NOTE: each step is one statement, never a script: text the stored definition or the new
    // declaration might smuggle in after a statement is refused, not run, and a failing step
    // leaves the unit to roll the whole rebuild back.
    link.runSingle(*rebuilt);
    link.runSingle("INSERT INTO " + quotedRebuild + " SELECT * FROM " + quotedTable);
    link.runSingle("DROP TABLE " + quotedTable);
    {
        const LegacyRename legacy(link);
        link.runSingle("ALTER TABLE " + quotedRebuild + " RENAME TO " + quotedTable);
    }
    for (const auto& row : dependents) {
        if (!row.empty()) {
            link.runSingle(row.front());
        }
    }
    unit.commit();
}

}  // namespace quillet::engine
