#pragma once
/// \file
/// \brief The embedded engine's result codes made into the one run-time error type.

#include <filesystem>
#include <string>

#include "runtime/RuntimeError.h"

struct sqlite3;

namespace quillet::sqlite {

/// \brief The error for a failed call: the engine's words (with the system's reason where the
/// file itself failed), its extended code, and the SQLSTATE class callers test.
RuntimeError engineError(sqlite3* db, int rc);

/// \brief The one place a result code becomes an exception: raises engineError unless rc is
/// OK, ROW or DONE.
void check(sqlite3* db, int rc);

/// \brief Runs sql as a script (used for the store's own set-up statements).
void exec(sqlite3* db, const std::string& sql);

/// \brief A failure of our own making, with the record store's number.
RuntimeError engineFailure(std::string description, int nativeCode, std::string sqlState);

/// \brief Why the file cannot be opened for reading and writing, as the system tells it for the
/// file or, when there is none yet, for the folder it would be made in; empty when both are
/// usable.
std::string accessFailureReason(const std::filesystem::path& file);

}  // namespace quillet::sqlite
