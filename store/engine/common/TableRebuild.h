#pragma once
/// \file
/// \brief Changing a column's declared type on a SQLite database (the embedded store or a SQLite
/// file reached through a driver), which cannot change a column in place.

#include "dialect/AccessTranslator.h"
#include "engine/common/EngineLink.h"

namespace quillet::engine {

/// \brief Rebuilds change.table with change.column declared as change.type, keeping its rows,
/// indexes and triggers, as one write unit: all of it or nothing. Every step is one statement
/// run on its own, names are looked up through bound values, and the legacy rename rule is
/// switched off again however the rename ends. Raises (42S02, 42S22) for a missing table or
/// column.
void rebuildWithColumnType(EngineLink& link, const dialect::AlterColumn& change);

}  // namespace quillet::engine
