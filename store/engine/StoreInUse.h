#pragma once
/// \file
/// \brief Which store a data source name resolves to, told in words.

#include <string>

#include "engine/ConnectionString.h"
#include "quillet_store_export.h"

namespace quillet {

/// \brief One line that says where the data source of the settings leads and why: a data
/// source registered with the ODBC driver manager (the file that registers it, its driver and
/// the database system it reports) or the embedded store (its file, and the files that were
/// looked in). Creates nothing: the embedded store is not opened, nor a SQLite file that does
/// not exist yet. Raises the RuntimeError of opening when a registered data source cannot be
/// used or opened.
QUILLET_STORE_INTERNAL std::string describeStoreInUse(const ConnectionSettings& settings);

}  // namespace quillet
