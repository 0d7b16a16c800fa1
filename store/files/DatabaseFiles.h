#pragma once
/// \file
/// \brief A database file with the side files its engine keeps beside it: what an output must
/// never be written over.

#include <filesystem>
#include <vector>

#include "quillet_store_export.h"

namespace quillet {

/// \brief A database file and the side files its engine keeps beside it (-wal, -shm,
/// -journal).
QUILLET_STORE_INTERNAL std::vector<std::filesystem::path> databaseFiles(
    const std::filesystem::path& database);

}  // namespace quillet
