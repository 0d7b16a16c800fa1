#pragma once
/// \file
/// \brief CREATE TABLE and ALTER TABLE of the Access dialect.

#include "dialect/AccessTranslator.h"
#include "dialect/StatementTokens.h"
#include "dialect/Target.h"

namespace quillet::dialect {

/// \brief "CREATE TABLE t (c type, ...)" with each column type made the engine's. False, with
/// out untouched, when the statement does not have that shape.
bool translateCreateTable(const StatementTokens& tokens, Translation& out,
                          Target target = Target::SQLite);

/// \brief "ALTER TABLE t ADD COLUMN c type, d type" (one statement per column) and
/// "ALTER TABLE t ALTER COLUMN c type" (an AlterColumn). False, with out untouched, for any
/// other shape.
bool translateAlterTable(const StatementTokens& tokens, Translation& out,
                         Target target = Target::SQLite);

}  // namespace quillet::dialect
