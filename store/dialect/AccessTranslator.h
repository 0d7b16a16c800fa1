#pragma once
/// \file
/// \brief Translates one statement of the Access dialect into SQLite statements. A pure function
/// of the text: it knows nothing of any schema.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialect/Target.h"

namespace quillet::dialect {

/// \brief A literal value lifted out of an INSERT ... VALUES list or an UPDATE ... SET assignment
/// and replaced by a "?" placeholder, so the engine can bind it by the type of its target column
/// (and reuse the prepared statement for the next row).
struct Parameter {
    enum class Kind { Text, Number, Date };
    Kind kind = Kind::Text;
    /// Text: the literal's content with doubled apostrophes undone. Number: the literal as
    /// written ("12", "6102.05", "1e3"). Date: the date in the stored form (yyyy-mm-dd, with
    /// " hh:mm:ss" when a time was given).
    std::string value;
    /// The table written to.
    std::string table;
    /// The target column by name, when the statement names it (UPDATE SET, INSERT with a column
    /// list); empty otherwise.
    std::string column;
    /// The target column by position (0-based) for an INSERT without a column list; -1 otherwise.
    int position = -1;
};

/// One SQLite statement with its parameters, in the order of the placeholders.
struct EngineStatement {
    std::string sql;
    std::vector<Parameter> parameters;
};

/// \brief "alter TABLE t Alter column c type": SQLite cannot change a column in place, so the
/// engine rebuilds the table with the new declaration.
struct AlterColumn {
    std::string table;
    std::string column;
    /// The new declared type, already translated (for example "TEXT(101) COLLATE NOCASE").
    std::string type;
};

struct Translation {
    /// Run in order, all or nothing (several columns in one "add column" become several).
    std::vector<EngineStatement> statements;
    /// Set instead of statements for an Alter column.
    std::optional<AlterColumn> alterColumn;
    /// True for a statement that returns rows (SELECT).
    bool returnsRows = false;
};

/// \brief Translates one Access statement. Raises RuntimeError (err::StoreError, SQLSTATE
/// "42000") with a clear description for what the dialect itself rejects, such as an empty or
/// invalid "#...#" date literal or an unterminated string. Anything it does not recognise is passed
/// through unchanged, so that the engine reports malformed SQL with its own description.
/// The target picks the engine dialect; SQLite unless told otherwise.
Translation translate(std::string_view accessSql, Target target = Target::SQLite);

}  // namespace quillet::dialect
