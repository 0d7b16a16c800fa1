#pragma once
/// \file
/// \brief The program's folder: where the report definition and the document folders live.

#include <filesystem>
#include "quillet_store_export.h"

namespace quillet {

/// \brief The folder of the running executable, unless another one was set with
/// setProgramFolder (tests point it at a temporary folder).
QUILLET_STORE_INTERNAL std::filesystem::path programFolder();

/// Overrides the program folder for this process; an empty path restores the executable's.
QUILLET_STORE_INTERNAL void setProgramFolder(const std::filesystem::path& folder);

}  // namespace quillet
