#pragma once
/// \file
/// \brief What changes when a translated statement goes to PostgreSQL instead of SQLite.

#include <optional>
#include <string>
#include <string_view>

#include "dialect/AccessTranslator.h"

namespace quillet::dialect {

/// \brief The PostgreSQL declaration for a column type as the SQLite translation declares it
/// ("TEXT(50) COLLATE NOCASE", "NUMBER", "DOUBLE", "INTEGER", "DATE", "BLOB"). Text becomes
/// citext, so comparisons, ordering and Like ignore case as they do in the embedded store; the
/// size is dropped, as the embedded store does not enforce it either. NUMBER becomes numeric (a
/// whole number reads back whole, as from the embedded store), INTEGER bigint, DATE a timestamp
/// to the second (Access dates may carry a time). Nothing for a type of no family of ours.
std::optional<std::string> postgresColumnType(std::string_view sqliteType);

/// \brief Rewrites the statements of a SQLite translation for PostgreSQL: Like becomes ILIKE
/// with an empty escape (only '%' and '_' are wildcards, a backslash is itself), [bracketed]
/// names become the folded names PostgreSQL stores, and a column's own
/// "COLLATE NOCASE" goes (citext already ignores case).
void adaptForPostgres(Translation& translation);

}  // namespace quillet::dialect
