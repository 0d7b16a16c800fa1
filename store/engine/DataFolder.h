#pragma once
/// \file
/// \brief The embedded store's folder and files belong to the user alone.

#include <filesystem>

namespace quillet {

/// \brief Makes folder the user's private data folder: creates it (and missing parents) with
/// rwx------, or takes an existing one of this user and removes every access of others. A
/// folder of another user, a link of another user, or a link to another user's folder raises
/// RuntimeError(err::StoreConnectFailed) with the reason: the records would be theirs to read.
void ensurePrivateDataFolder(const std::filesystem::path& folder);

/// \brief Checks, creating nothing, that folder could serve as the private data folder: absent
/// (it would be made), or an existing folder of this user. Raises what ensurePrivateDataFolder
/// would raise otherwise.
void checkDataFolder(const std::filesystem::path& folder);

/// \brief Creates the database file readable by its owner only when it is missing (the engine's
/// side files copy its mode), and removes the access of others from it and its existing side
/// files.
void restrictDatabaseFiles(const std::filesystem::path& database);

}  // namespace quillet
