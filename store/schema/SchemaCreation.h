#pragma once
/// \file
/// \brief Setting up a data source: the tables of the default schema that it lacks.

#include <string>
#include <vector>

#include "engine/Connection.h"
#include "quillet_store_export.h"

namespace quillet {

/// \brief The CREATE TABLE statements of the default schema, one per table, in file order.
std::vector<std::string> defaultSchemaStatements();

/// \brief Creates, in one transaction, every table of the default schema that the open
/// connection's data source lacks, translated for its database system; a table that exists is
/// left as it is, whatever its columns. Returns the names of the tables created. Raises the
/// engine's RuntimeError when a table cannot be checked or created (nothing is created then).
QUILLET_STORE_INTERNAL std::vector<std::string> createMissingTables(Connection& connection);

}  // namespace quillet
