#pragma once
/// \file
/// \brief How a literal lifted out of a statement becomes the value written to its target
/// column, and how a stored date reads back. Engine-neutral: no engine header here.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

namespace quillet::engine {

/// \brief What a column holds, judged from its declared type.
enum class ColumnKind {
    Unknown,  ///< no declared type, or one we do not interpret: values pass as written
    Text,
    Number,
    Date,
};

/// \brief Classifies a declared type: anything naming DATE or TIME is a date; CHAR, TEXT, CLOB,
/// MEMO and STRING are text; an empty type or a BLOB is unknown; every other declared type
/// (INTEGER, NUMBER, DOUBLE, REAL, DECIMAL, ...) is a number.
ColumnKind columnKindOf(std::string_view declaredType);

/// \brief A table's column as an engine remembers it for binding values.
struct TableColumn {
    std::string lowerName;
    ColumnKind kind;
};

/// \brief The kind of the column a lifted literal goes to: the column named lowerName when one is
/// named, else the one at position; Unknown when the table has no such column.
ColumnKind targetColumnKind(const std::vector<TableColumn>& columns, std::string_view lowerName,
                            int position);

/// \brief The value to bind: Null (monostate), a 64-bit integer, a double or a text.
using BoundValue = std::variant<std::monostate, long long, double, std::string>;

/// \brief Converts a lifted literal for a column of the given kind.
///
/// A text into a date column must be empty (Null) or a date in an accepted form (stored as ISO
/// text); into a number column it must be empty (Null) or read as a number. Anything else raises
/// RuntimeError(err::StoreTypeMismatch, "Data type mismatch in criteria expression.").
/// A date literal goes into a text column in the short date form and into a number column as its
/// serial day number; a number goes into a date column as the date of that serial.
BoundValue boundValueFor(const dialect::Parameter& parameter, ColumnKind target);

/// \brief The serial day numbers of the calendar we support: from 0100-01-01 up to, not
/// including, the day after 9999-12-31.
inline constexpr double kFirstSerialDay = -657434.0;
inline constexpr double kPastLastSerialDay = 2958466.0;

/// \brief The failure of a value its column cannot hold: RuntimeError(err::StoreTypeMismatch,
/// "Data type mismatch in criteria expression.", SQLSTATE 22018).
RuntimeError dataTypeMismatch();

/// \brief Reads text stored in a date column: a Date when it is one, otherwise the text itself
/// (a value written by another program is shown rather than lost).
Variant dateFromStoredText(std::string_view stored);

/// \brief Reads a number stored in a date column as the date of that serial day number, when
/// the serial lies within the calendar we support.
std::optional<Date> dateFromSerial(double serial);

}  // namespace quillet::engine
