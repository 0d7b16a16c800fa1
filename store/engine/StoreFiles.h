#pragma once
/// \file
/// \brief The files that hold the records: no output may ever be written over one of them.

#include <filesystem>
#include <vector>

#include "files/DatabaseFiles.h"
#include "quillet_store_export.h"

namespace quillet {

/// \brief The files of every store "det" may lead to: the embedded store and its side files and,
/// when "det" is registered with the driver manager, the database file stored with it (an office
/// SQLite file) and its side files.
QUILLET_STORE_INTERNAL std::vector<std::filesystem::path> storeOwnFiles();

}  // namespace quillet
