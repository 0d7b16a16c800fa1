// Month lengths and month names; these touch neither the record store nor any member.
#include "VekClass.h"

namespace quillet {

long VekClass::GetLastDayOfMonth(long lYear, long lMonth) {
    switch (lMonth) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 2:
            return IsLeapYear(lYear) ? 29 : 28;
        default:
            // Any other month, in range or not, has 30 days here: callers rely on no error.
            return 30;
    }
}

std::string VekClass::GetMonth(const Date& dat_) {
    return std::string(monthAbbreviation(dat_.month));
}

}  // namespace quillet
