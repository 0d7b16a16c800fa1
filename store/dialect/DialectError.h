#pragma once
/// \file
/// \brief The one way the translator refuses a statement.

#include <string>
#include <string_view>

namespace quillet::dialect {

/// \brief Raises the record-store error for a statement the dialect itself rejects: error number
/// err::StoreError with SQLSTATE "42000" (syntax error or access rule violation), as an engine
/// reports a malformed statement.
[[noreturn]] void raiseDialectError(std::string description);

/// A short excerpt of a statement for an error description: at most a few dozen characters,
/// never cutting a UTF-8 sequence in half.
std::string excerpt(std::string_view text);

}  // namespace quillet::dialect
