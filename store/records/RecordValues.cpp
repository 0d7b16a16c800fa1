#include "records/RecordValues.h"

#include <array>

#include "StatementPieces.h"
#include "runtime/Date.h"
#include "runtime/RuntimeError.h"

namespace quillet {

std::optional<DateParts> datePartsOf(std::string_view text) {
    const std::optional<Date> date = parseDate(text);
    if (!date) {
        return std::nullopt;
    }
    return DateParts{date->day, date->month, static_cast<std::int16_t>(date->year)};
}

std::string todayShortDate() {
    return formatShortDate(today());
}

DateParts datePartsOrToday(std::string& text) {
    if (!datePartsOf(text)) {
        text = todayShortDate();
    }
    return datePartsOf(text).value_or(DateParts{});
}

void trimSpaces(std::string& text) {
    const std::size_t begin = text.find_first_not_of(' ');
    if (begin == std::string::npos) {
        text.clear();
        return;
    }
    const std::size_t end = text.find_last_not_of(' ');
    text = text.substr(begin, end - begin + 1);
}

std::string bareValue(const Variant& value) {
    return bareNumber(value.isNull() ? std::string() : value.toString());
}

std::string dayColumn(int day) {
    static constexpr std::array<std::string_view, 31> kDayWords = {
        "one",        "two",       "three",       "four",        "five",        "six",
        "seven",      "eight",     "nine",        "ten",         "eleven",      "twelve",
        "thirteen",   "fourteen",  "fifteen",     "sixteen",     "seventeen",   "eighteen",
        "nineteen",   "twenty",    "twentyone",   "twentytwo",   "twentythree", "twentyfour",
        "twentyfive", "twentysix", "twentyseven", "twentyeight", "twentynine",  "thirty",
        "thirtyone"};
    if (day < 1 || day > 31) {
        throw RuntimeError::invalidProcedureCall();
    }
    return std::string(kDayWords[static_cast<std::size_t>(day - 1)]) + "_";
}

}  // namespace quillet
