#pragma once
/// \file
/// \brief Resolving a data source name to an open engine session.

#include <filesystem>
#include <memory>

#include "engine/ConnectionString.h"
#include "engine/Session.h"
#include "quillet_store_export.h"

namespace quillet {

/// The name of the built-in data source.
inline constexpr const char* kDefaultDataSource = "det";

/// \brief The folder of the embedded data source: $XDG_DATA_HOME/quillet, or
/// ~/.local/share/quillet when XDG_DATA_HOME is unset or empty.
std::filesystem::path embeddedDataFolder();
/// The database file of the embedded data source "det".
QUILLET_STORE_INTERNAL std::filesystem::path embeddedDatabasePath();

/// \brief Opens the named data source. "det" is the embedded store, created with the default
/// schema on first use. An unknown name, an unreadable or corrupt file, or a data folder that
/// cannot be created raise a RuntimeError with a clear description.
std::unique_ptr<Session> openDataSource(const ConnectionSettings& settings);

}  // namespace quillet
