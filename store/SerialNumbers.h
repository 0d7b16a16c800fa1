#pragma once
/// \file
/// \brief Numbering the rows of a table: the serial that follows the largest one stored.

#include "runtime/Variant.h"

namespace quillet {

/// \brief The serial after the largest one read: 1 when it is Null (no row), otherwise the largest
/// plus 1 in the variant's own number type (a Long that would overflow becomes a Double, 17.5
/// gives 18.5), as the classic runtime adds.
Variant serialAfter(const Variant& largest);

}  // namespace quillet
