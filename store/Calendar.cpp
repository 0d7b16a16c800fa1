// Month lengths and month names; these touch neither the record store nor any member.
#include "VekClass.h"

namespace quillet {

long VekClass::GetLastDayOfMonth(long lYear, long lMonth) {
    if (lMonth == 2) {
        return IsLeapYear(lYear) ? 29 : 28;
    }
    // Any month outside 1..12 has 30 days here: callers rely on getting no error.
    const int days = lMonth >= 1 && lMonth <= 12 ? daysInMonth(2001, static_cast<int>(lMonth)) : 0;
    return days == 0 ? 30 : days;
}

std::string VekClass::GetMonth(const Date& dat_) {
    return std::string(monthAbbreviation(dat_.month));
}

}  // namespace quillet
