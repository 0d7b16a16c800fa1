#pragma once
/// \file
/// \brief Dates as the register operations write them into statements. A date piece is joined
/// into the statement only when its text reads as a date, so a date parameter can never carry
/// anything else into the statement text.

#include <string>
#include <string_view>

namespace quillet {

/// \brief "#" + the text unchanged + "#". Raises the record store's data type mismatch, before
/// any SQL runs, when the text does not read as a date (the empty text included).
std::string dateLiteral(std::string_view text);

/// \brief "#" + the date formatted dd/Mmm/yyyy + "#" (English month abbreviations, whatever
/// the locale). Raises like dateLiteral when the text does not read as a date.
std::string formattedDateLiteral(std::string_view text);

}  // namespace quillet
