#pragma once
/// \file
/// \brief The default schema of a new embedded store.

#include <string_view>

namespace quillet {

/// The statements of schema/default.sql (SQLite dialect), separated by semicolons.
std::string_view defaultSchemaSql();

}  // namespace quillet
