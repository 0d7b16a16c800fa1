#pragma once
/// \file
/// \brief Comparing names without regard to case, as the record store matches table, column and
/// data-source names. ASCII letters only: names are plain identifiers.

#include <string>
#include <string_view>

namespace quillet {

/// True when a and b differ at most in the case of ASCII letters.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

/// text with ASCII capitals made small; other bytes unchanged.
std::string toLowerAscii(std::string_view text);

}  // namespace quillet
