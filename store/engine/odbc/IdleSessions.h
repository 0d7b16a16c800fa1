#pragma once
/// \file
/// \brief Sessions closed a moment ago, kept for the next open of the same data source.

#include <memory>
#include <string>

#include "engine/odbc/SessionState.h"

namespace quillet::odbc {

/// \brief The process's idle sessions.
///
/// NOTE: every operation opens and closes its own connection, and a server login (a new server
/// process, a password exchange) costs more than all the inserts of a Calculate. A closed
/// session is therefore kept for a short while, its transaction rolled back, and handed to the
/// next open with the same data source and credentials, prepared statements and all.
namespace idle {

/// A live idle session opened with key, or null.
std::unique_ptr<OdbcSession::Impl> take(const std::string& key);
/// Keeps a session (no transaction open) for reuse.
void put(std::unique_ptr<OdbcSession::Impl> session);

}  // namespace idle

}  // namespace quillet::odbc
