#pragma once
// Keeps Qt's start-up notices that tell the user nothing they can act on off stderr.

namespace quillet {

/// \brief Drops Qt's notice that XDG_RUNTIME_DIR is unset (it then uses a folder of its own,
/// which is all a program without desktop services needs); every other message passes on to the
/// handler that was installed before. Safe to call more than once.
void quietenStartupNotices();

}  // namespace quillet
