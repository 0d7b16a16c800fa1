#pragma once
/// \file
/// \brief Column types of the Access dialect and what the engine declares for them.

#include <optional>
#include <string>
#include <string_view>

namespace quillet::dialect {

/// \brief The engine's declaration for an Access column type, or nothing when the type is not
/// one of ours (it is then left as written). size is the text between the parentheses after the
/// type when there are any (blanks removed), nothing otherwise. Text types keep a size written
/// as whole digits; the other types take none. Text types compare without regard to case, as
/// Access compares, unless the column names its own collation (withCollation false).
std::optional<std::string> engineColumnType(std::string_view accessType,
                                            std::optional<std::string_view> size,
                                            bool withCollation);

}  // namespace quillet::dialect
