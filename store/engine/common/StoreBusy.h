#pragma once
/// \file
/// \brief How long a statement waits for another desk's write lock, on every back end, and what
/// it reports when it gave up.

#include <string_view>

namespace quillet::engine {

/// How long a statement waits for another connection's write lock before it fails.
inline constexpr int kStoreBusyTimeoutMs = 5000;
/// What a statement reports when it gave up waiting for that lock: it changed nothing.
inline constexpr std::string_view kStoreBusyDescription =
    "The store is busy: another program has been writing to it for longer than Quillet "
    "waits (5 seconds). Nothing was changed; try again once that program has finished.";
static_assert(kStoreBusyTimeoutMs == 5000, "kStoreBusyDescription names the busy timeout");

}  // namespace quillet::engine
