#pragma once
/// \file
/// \brief Small value rules shared by the record families: the date parts of a date text, blank
/// trimming of the caller's texts, and numbers taken from the record buffer into a statement.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/Variant.h"

namespace quillet {

/// \brief Day of the month, month and year of a date, as the day/month/year columns hold them.
struct DateParts {
    int day = 0;
    int month = 0;
    std::int16_t year = 0;
};

/// The parts of text read as a date (the accepted forms, day first); nullopt when it is none.
std::optional<DateParts> datePartsOf(std::string_view text);

/// Today's date in the short date form dd/mm/yyyy, as a date text handed back to a caller.
std::string todayShortDate();

/// \brief The parts of the date text, after putting today's short date into a text that does not
/// read as a date (the caller sees the text it ends up holding).
DateParts datePartsOrToday(std::string& text);

/// Removes leading and trailing space characters (only spaces, as the classic Trim does).
void trimSpaces(std::string& text);

/// \brief A buffer value written bare into a statement: a Null adds nothing, anything else is
/// its text, and the result must read as a number (raises otherwise, before any SQL runs).
std::string bareValue(const Variant& value);

/// \brief The attendance column of a day of the month: "one_" .. "thirtyone_". Raises error 5
/// for a day outside 1..31.
std::string dayColumn(int day);

}  // namespace quillet
