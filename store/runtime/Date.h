#pragma once
/// \file
/// \brief Calendar dates with an optional time of day, and the fixed text forms we read and write.

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "quillet_store_export.h"

namespace quillet {

/// \brief A date of the proleptic Gregorian calendar (years 100 to 9999) with a time of day.
struct Date {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;

    bool hasTime() const { return hour != 0 || minute != 0 || second != 0; }
    Date dateOnly() const { return Date{year, month, day, 0, 0, 0}; }
    auto operator<=>(const Date&) const = default;
};

/// Days in a month; 0 for a month outside 1..12.
QUILLET_STORE_EXPORT int daysInMonth(int year, int month);
QUILLET_STORE_EXPORT bool isLeapYear(long year);
QUILLET_STORE_EXPORT bool isValidDate(int year, int month, int day);

/// \brief Reads a date in one of the accepted forms: d/m/yyyy, d-m-yyyy, d/Mmm/yyyy, d-Mmm-yyyy
/// (English abbreviations in any case) and yyyy-mm-dd, each optionally followed by a time
/// "hh:mm" or "hh:mm:ss". Leading and trailing blanks are ignored. Day first, always.
QUILLET_STORE_EXPORT std::optional<Date> parseDate(std::string_view text);

/// The short date form: dd/mm/yyyy, followed by " hh:mm:ss" when a time is present.
QUILLET_STORE_EXPORT std::string formatShortDate(const Date& d);
/// dd/Mmm/yyyy with the fixed English month abbreviations, whatever the locale.
QUILLET_STORE_EXPORT std::string formatDayMonthYear(const Date& d);
QUILLET_STORE_EXPORT void appendDayMonthYear(std::string& out, const Date& d);
/// yyyy-mm-dd, followed by " hh:mm:ss" when a time is present: the stored form.
QUILLET_STORE_EXPORT std::string formatIsoDate(const Date& d);
/// "Jan".."Dec" for 1..12.
QUILLET_STORE_EXPORT std::string_view monthAbbreviation(int month);

/// \brief Adds calendar months; a day that does not exist in the target month becomes that
/// month's last day. Throws error 5 when the result leaves years 100..9999.
QUILLET_STORE_EXPORT Date addMonths(const Date& d, int months);

/// Today's local date, without a time.
QUILLET_STORE_EXPORT Date today();

/// Days since 1899-12-30, the classic serial day number (fractional part for the time).
QUILLET_STORE_EXPORT double toSerial(const Date& d);
/// The date of a serial day number; error 6 "Overflow" outside years 100..9999 or for NaN.
QUILLET_STORE_EXPORT Date fromSerial(double serial);

}  // namespace quillet
