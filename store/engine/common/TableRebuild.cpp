#include "engine/common/TableRebuild.h"

#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "engine/common/Names.h"
#include "engine/common/TableDefinition.h"
#include "engine/common/ValueConversion.h"
#include "engine/common/WriteUnit.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

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

/// The values a column must change when its kind does: those stored in storageClasses (as the
/// engine's typeof() names them), read as literals of kind storedAs.
struct StoredConversion {
    std::string_view storageClasses;
    dialect::Parameter::Kind storedAs;
};

// NOTE: the engine keeps every value as it is when a declared type changes, but a date column
// holds a date as ISO text and a number column holds it as its serial day count (day 0 is
// 1899-12-30). Left alone, a serial in a date column reads as a bare number through a driver,
// and a date altered to a number stays the text of a date.
std::optional<StoredConversion> conversionBetween(ColumnKind from, ColumnKind to) {
    if (from == ColumnKind::Number && to == ColumnKind::Date) {
        return StoredConversion{"'integer', 'real'", dialect::Parameter::Kind::Number};
    }
    if (from == ColumnKind::Date && to == ColumnKind::Number) {
        return StoredConversion{"'text'", dialect::Parameter::Kind::Date};
    }
    return std::nullopt;
}

// The stored value a text read by selectTexts stands for, typed as the engine holds it, so that
// an equality finds exactly the rows that hold it.
BoundValue storedValue(const std::string& storageClass, const std::string& text) {
    if (storageClass == "integer") {
        long long whole = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), whole);
        if (ec == std::errc() && end == text.data() + text.size()) {
            return whole;
        }
    } else if (storageClass == "real") {
        if (const std::optional<double> real = parseNumber(text)) {
            return *real;
        }
    }
    return text;
}

// Every distinct value is converted once, as a literal of its kind written to a column of the
// new kind is: a serial outside the calendar, or a text in a date column that is not a date,
// fails the whole change. An empty text in a date column means no date, as it does on writing.
void convertStoredValues(EngineLink& link, const std::string& quotedTable,
                         const std::string& quotedColumn, const StoredConversion& conversion,
                         ColumnKind to) {
    // quote() writes a double so that it reads back as the same double.
    const auto stored =
        link.selectTexts("SELECT DISTINCT typeof(" + quotedColumn + "), CASE WHEN typeof(" +
                             quotedColumn + ") = 'text' THEN " + quotedColumn + " ELSE quote(" +
                             quotedColumn + ") END FROM " + quotedTable + " WHERE typeof(" +
                             quotedColumn + ") IN (" + std::string(conversion.storageClasses) + ")",
                         {});
    const std::string update =
        "UPDATE " + quotedTable + " SET " + quotedColumn + " = ? WHERE " + quotedColumn + " = ?";
    for (const auto& row : stored) {
        if (row.size() < 2) {
            continue;
        }
        const std::string& text = row[1];
        BoundValue converted;
        if (!text.empty() || conversion.storedAs != dialect::Parameter::Kind::Date) {
            dialect::Parameter literal;
            literal.kind = conversion.storedAs;
            literal.value = text;
            converted = boundValueFor(literal, to);
        }
        link.runWithValues(update, {std::move(converted), storedValue(row[0], text)});
    }
}

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
    ColumnKind oldKind = ColumnKind::Unknown;
    for (const auto& row :
         link.selectTexts("SELECT name, type FROM pragma_table_info(?1)", {storedName})) {
        if (row.size() >= 2 && equalsIgnoringCase(row[0], column)) {
            oldKind = columnKindOf(row[1]);
        }
    }
    const std::optional<StoredConversion> conversion =
        conversionBetween(oldKind, columnKindOf(change.type));
    // NOTE: each step is one statement, never a script: text the stored definition or the new
    // declaration might smuggle in after a statement is refused, not run, and a failing step
    // leaves the unit to roll the whole rebuild back.
    link.runSingle(*rebuilt);
    link.runSingle("INSERT INTO " + quotedRebuild + " SELECT * FROM " + quotedTable);
    if (conversion) {
        convertStoredValues(link, quotedRebuild, quoteIdentifier(column), *conversion,
                            columnKindOf(change.type));
    }
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
