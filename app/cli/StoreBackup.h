#pragma once
/// \file
/// \brief quillet-schedule --backup: a copy of the embedded store, safe while Quillet runs.

#include <iosfwd>
#include <string>

namespace quillet {

/// \brief Writes a consistent copy of the embedded store to file, even while a window or another
/// tool writes to the store. Returns the tool's exit status: 0 done, 1 when the store could not
/// be read or the copy not written (the reason goes to err).
int runStoreBackup(const std::string& file, std::ostream& err);

}  // namespace quillet
