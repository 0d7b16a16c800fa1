#include "records/StatementDates.h"

#include "runtime/Date.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

Date readDate(std::string_view text) {
    const auto date = parseDate(text);
    if (!date) {
        // The same failure the record store reports for a text it cannot hold in a date column.
        throw RuntimeError(err::StoreTypeMismatch, "Data type mismatch in criteria expression.");
    }
    return *date;
}

}  // namespace

std::string dateLiteral(std::string_view text) {
    (void)readDate(text);
    return "#" + std::string(text) + "#";
}

std::string formattedDateLiteral(std::string_view text) {
    return "#" + formatDayMonthYear(readDate(text)) + "#";
}

}  // namespace quillet
