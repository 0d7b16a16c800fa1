#pragma once
/// \file
/// \brief Which store a data source name resolves to, told in words.

#include <string>

#include "engine/ConnectionString.h"

namespace quillet {

/// \brief One line that says where the data source of the settings leads: a data source
/// registered with the ODBC driver manager (with the database system it reports) or the
/// embedded store (with its file). Opens the data source to find out; raises its RuntimeError
/// when it cannot be opened.
std::string describeStoreInUse(const ConnectionSettings& settings);

}  // namespace quillet
