#pragma once
/// \file
/// \brief A consistent copy of a live database file.

#include <filesystem>
#include <vector>

#include "quillet_store_export.h"

namespace quillet::sqlite {

/// \brief Copies the database source into target with the engine's online backup: the copy is
/// the database as of one moment, committed changes still in the WAL included, even while other
/// connections write to it. The copy is written as an OutputFile readable by its owner only, so
/// target is either the old file or a whole copy, and no link at target is written through.
/// source and its side files, and alsoRefused, are refused as targets. Raises
/// RuntimeError(err::StoreError) with the reason when the copy cannot be made.
QUILLET_STORE_INTERNAL void backupDatabase(
    const std::filesystem::path& source, const std::filesystem::path& target,
    const std::vector<std::filesystem::path>& alsoRefused = {});

}  // namespace quillet::sqlite
