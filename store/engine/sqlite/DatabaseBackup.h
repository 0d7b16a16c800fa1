#pragma once
/// \file
/// \brief A consistent copy of a live database file.

#include <filesystem>
#include "quillet_store_export.h"

namespace quillet::sqlite {

/// \brief Copies the database source into target with the engine's online backup: the copy is
/// the database as of one moment, committed changes still in the WAL included, even while other
/// connections write to it. The copy is made under a temporary name beside target and renamed
/// into place when complete, so target is either the old file or a whole copy. Raises
/// RuntimeError(err::StoreError) with the reason when the copy cannot be made.
QUILLET_STORE_INTERNAL void backupDatabase(const std::filesystem::path& source,
                                           const std::filesystem::path& target);

}  // namespace quillet::sqlite
