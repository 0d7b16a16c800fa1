#pragma once
/// \file
/// \brief Owners of the driver manager's handles. The handle types are those of the ODBC API
/// (SQLHANDLE is a pointer), spelt here without its headers.

#include <memory>

namespace quillet::odbc {

/// Frees an environment handle.
struct EnvironmentFree {
    void operator()(void* handle) const noexcept;
};
/// Frees a connection handle that never connected.
struct UnconnectedFree {
    void operator()(void* handle) const noexcept;
};
/// Disconnects and frees a connection handle.
struct ConnectionFree {
    void operator()(void* handle) const noexcept;
};
/// Frees a statement handle.
struct StatementFree {
    void operator()(void* handle) const noexcept;
};

using EnvironmentHandle = std::unique_ptr<void, EnvironmentFree>;
using UnconnectedHandle = std::unique_ptr<void, UnconnectedFree>;
using ConnectionHandle = std::unique_ptr<void, ConnectionFree>;
using StatementHandle = std::unique_ptr<void, StatementFree>;

}  // namespace quillet::odbc
