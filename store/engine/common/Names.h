#pragma once
/// \file
/// \brief Table and column names as the dialect hands them to an engine.

#include <string>
#include <string_view>

namespace quillet::engine {

/// \brief The name without the quotes or brackets it may still carry ([name], "name", `name`).
std::string bareName(std::string_view name);

/// \brief True for a statement that changes the schema (CREATE, ALTER or DROP first): column
/// kinds an engine remembers must be read again after it.
bool isSchemaChange(std::string_view sql);

}  // namespace quillet::engine
