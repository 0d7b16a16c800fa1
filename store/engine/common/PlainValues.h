#pragma once
/// \file
/// \brief Quick readings of the forms nearly every row carries (a plain decimal written by the
/// program, a date stored as yyyy-mm-dd). Each gives exactly what the general conversion gives
/// for that form and declines anything else, which then takes the general way.

#include <optional>
#include <string>
#include <string_view>

#include "engine/common/ValueConversion.h"
#include "runtime/Date.h"

namespace quillet::engine {

/// \brief An optional "-", at most 15 digits, optionally "." and more digits within those 15:
/// a whole number as a 64-bit integer, anything else as a double. nullopt for any other text.
std::optional<BoundValue> plainDecimal(std::string_view literal);

/// \brief Writes the stored form (yyyy-mm-dd) of a date written exactly dd/mm/yyyy or
/// dd/Mmm/yyyy ("-" in place of both "/" too, the month abbreviation as the program writes it)
/// into out; false, with out untouched, for any other text.
bool assignPlainDayFirstDate(std::string_view text, std::string& out);

/// \brief Exactly "yyyy-mm-dd" naming a day of the calendar; nullopt for any other text.
std::optional<Date> plainIsoDate(std::string_view text);

}  // namespace quillet::engine
