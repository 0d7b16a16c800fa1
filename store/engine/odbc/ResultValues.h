#pragma once
/// \file
/// \brief Values read from a driver as text, made into the values the embedded store returns
/// for the same column. Engine-neutral: no driver header here.

#include <string_view>

#include "runtime/Variant.h"

namespace quillet::odbc {

/// \brief How a result column's text is read.
enum class ValueFamily {
    Text,
    /// Whole numbers come back whole, others as doubles (as from the embedded store's NUMBER
    /// and INTEGER columns).
    Number,
    /// Always a double (the embedded store's DOUBLE columns).
    Double,
    Date,
    /// No declared type (an expression on a SQLite file): a number when the text reads as one.
    Unknown,
};

/// \brief The family of a column from its declared type name (a SQLite file, where the declared
/// name is what decides a column's affinity).
ValueFamily familyOfTypeName(std::string_view typeName);

/// \brief The value of a non-Null column given as text.
Variant valueFromText(std::string_view text, ValueFamily family);

}  // namespace quillet::odbc
