#pragma once
/// \file
/// \brief Comparing names without regard to case, as the record store matches table, column and
/// data-source names. ASCII letters only: names are plain identifiers.

#include <string>
#include <string_view>
#include "quillet_store_export.h"

namespace quillet {

/// True when a and b differ at most in the case of ASCII letters.
QUILLET_STORE_INTERNAL bool equalsIgnoringCase(std::string_view a, std::string_view b);

/// text with ASCII capitals made small; other bytes unchanged.
QUILLET_STORE_INTERNAL std::string toLowerAscii(std::string_view text);

}  // namespace quillet
