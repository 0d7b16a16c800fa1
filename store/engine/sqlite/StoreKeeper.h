#pragma once
/// \file
/// \brief The one idle connection a program keeps to its store between operations, and the
/// checkpoint that leaves the database file whole when the program is done with it.

#include <filesystem>

namespace quillet::sqlite {

/// \brief Keeps an idle connection to file open for the rest of the program (or until another
/// database file is kept instead). Every operation still opens and closes its own connection;
/// this one only holds the WAL index, so that those connections find the index ready instead of
/// rebuilding it from the whole WAL, and so that the automatic checkpoints let the WAL start
/// over. Failing to keep it costs only speed, so failures are ignored.
void keepStoreOpen(const std::filesystem::path& file);

/// \brief Copies every committed change from the WAL into the database file, empties the WAL and
/// closes the kept connection. Runs by itself as the program ends; it does not wait for other
/// programs using the store (the last one out completes the work).
void releaseStore();

}  // namespace quillet::sqlite
