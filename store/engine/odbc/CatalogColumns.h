#pragma once
/// \file
/// \brief A table's columns as a driver's catalog lists them.

#include <string>
#include <vector>

#include "engine/common/ValueConversion.h"
#include "engine/odbc/OdbcConnection.h"

namespace quillet::odbc {

/// \brief The columns of table, asked for under catalogName. Table names are patterns to the
/// driver ('_' matches any one character), so only rows naming table itself count; with a
/// schema, only rows of that schema (a table of that name in another schema of the server is
/// not the one statements reach).
std::vector<engine::TableColumn> catalogTableColumns(OdbcConnection& connection,
                                                     const std::string& catalogName,
                                                     const std::string& table,
                                                     const std::string& schema);

}  // namespace quillet::odbc
