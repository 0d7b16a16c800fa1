#include "runtime/Date.h"

#include <array>
#include <cctype>
#include <cmath>
#include <ctime>

#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

constexpr std::array<std::string_view, 12> kMonths = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                      "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Days from 1970-01-01 for a civil date (Howard Hinnant's algorithm).
long daysFromCivil(long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long>(doe) - 719468;
}

void civilFromDays(long z, int& y, int& m, int& d) {
    z += 719468;
    const long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long yy = static_cast<long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr long kSerialEpoch = -25569;  // 1899-12-30 in days from 1970-01-01
// Serials of 0100-01-01 and of the day after 9999-12-31: the calendar's limits.
constexpr double kFirstCalendarSerial = -657434.0;
constexpr double kPastCalendarSerial = 2958466.0;

struct Cursor {
    std::string_view s;
    std::size_t p = 0;
    bool atEnd() const { return p >= s.size(); }
    char peek() const { return atEnd() ? '\0' : s[p]; }
    // Reads 1..maxDigits digits.
    std::optional<int> number(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t start = p;
        int v = 0;
        while (!atEnd() && std::isdigit(static_cast<unsigned char>(s[p])) &&
               p - start < maxDigits) {
            v = v * 10 + (s[p] - '0');
            ++p;
        }
        if (p - start < minDigits) {
            return std::nullopt;
        }
        // Refuse a longer run of digits than allowed.
        if (!atEnd() && std::isdigit(static_cast<unsigned char>(s[p]))) {
            return std::nullopt;
        }
        return v;
    }
    std::optional<int> monthName() {
        if (p + 3 > s.size()) {
            return std::nullopt;
        }
        for (std::size_t i = 0; i < kMonths.size(); ++i) {
            bool same = true;
            for (std::size_t k = 0; k < 3; ++k) {
                if (std::tolower(static_cast<unsigned char>(s[p + k])) !=
                    std::tolower(static_cast<unsigned char>(kMonths[i][k]))) {
                    same = false;
                    break;
                }
            }
            if (same) {
                p += 3;
                if (!atEnd() && std::isalpha(static_cast<unsigned char>(s[p]))) {
                    return std::nullopt;
                }
                return static_cast<int>(i) + 1;
            }
        }
        return std::nullopt;
    }
    bool accept(char c) {
        if (peek() == c) {
            ++p;
            return true;
        }
        return false;
    }
};

bool parseTime(Cursor& c, Date& out) {
    const auto h = c.number(1, 2);
    if (!h || !c.accept(':')) {
        return false;
    }
    const auto mi = c.number(2, 2);
    if (!mi) {
        return false;
    }
    int sec = 0;
    if (c.accept(':')) {
        const auto se = c.number(2, 2);
        if (!se) {
            return false;
        }
        sec = *se;
    }
    if (*h > 23 || *mi > 59 || sec > 59) {
        return false;
    }
    out.hour = *h;
    out.minute = *mi;
    out.second = sec;
    return true;
}

void appendTwo(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 10 % 10));
    out.push_back(static_cast<char>('0' + v % 10));
}

void appendFour(std::string& out, int v) {
    out.push_back(static_cast<char>('0' + v / 1000 % 10));
    out.push_back(static_cast<char>('0' + v / 100 % 10));
    appendTwo(out, v % 100);
}

void appendTime(std::string& out, const Date& d) {
    if (!d.hasTime()) {
        return;
    }
    out.push_back(' ');
    appendTwo(out, d.hour);
    out.push_back(':');
    appendTwo(out, d.minute);
    out.push_back(':');
    appendTwo(out, d.second);
}

}  // namespace

bool isLeapYear(long year) {
    if (year % 4 != 0) {
        return false;
    }
    if (year % 100 != 0) {
        return true;
    }
    return year % 400 == 0;
}

int daysInMonth(int year, int month) {
    switch (month) {
        case 1:
        case 3:
        case 5:
        case 7:
        case 8:
        case 10:
        case 12:
            return 31;
        case 4:
        case 6:
        case 9:
        case 11:
            return 30;
        case 2:
            return isLeapYear(year) ? 29 : 28;
        default:
            return 0;
    }
}

bool isValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= daysInMonth(year, month);
}

std::optional<Date> parseDate(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    Cursor c{text};
    Date d;
    const std::size_t firstRun = [&] {
        std::size_t k = 0;
        while (k < text.size() && std::isdigit(static_cast<unsigned char>(text[k]))) {
            ++k;
        }
        return k;
    }();
    if (firstRun == 4) {
        // ISO yyyy-mm-dd
        d.year = *c.number(4, 4);
        if (!c.accept('-')) {
            return std::nullopt;
        }
        const auto m = c.number(2, 2);
        if (!m || !c.accept('-')) {
            return std::nullopt;
        }
        const auto dd = c.number(2, 2);
        if (!dd) {
            return std::nullopt;
        }
        d.month = *m;
        d.day = *dd;
    } else {
        const auto dd = c.number(1, 2);
        if (!dd) {
            return std::nullopt;
        }
        const char sep = c.peek();
        if (sep != '/' && sep != '-') {
            return std::nullopt;
        }
        c.accept(sep);
        std::optional<int> m;
        if (std::isalpha(static_cast<unsigned char>(c.peek()))) {
            m = c.monthName();
        } else {
            m = c.number(1, 2);
        }
        if (!m || !c.accept(sep)) {
            return std::nullopt;
        }
        const auto y = c.number(4, 4);
        if (!y) {
            return std::nullopt;
        }
        d.day = *dd;
        d.month = *m;
        d.year = *y;
    }
    if (!isValidDate(d.year, d.month, d.day)) {
        return std::nullopt;
    }
    if (!c.atEnd()) {
        if (!(c.accept(' ') || c.accept('T'))) {
            return std::nullopt;
        }
        while (c.accept(' ')) {
        }
        if (!parseTime(c, d) || !c.atEnd()) {
            return std::nullopt;
        }
    }
    return d;
}

std::string_view monthAbbreviation(int month) {
    return month >= 1 && month <= 12 ? kMonths[static_cast<std::size_t>(month - 1)]
                                     : std::string_view{};
}

std::string formatShortDate(const Date& d) {
    std::string out;
    out.reserve(19);
    appendTwo(out, d.day);
    out.push_back('/');
    appendTwo(out, d.month);
    out.push_back('/');
    appendFour(out, d.year);
    appendTime(out, d);
    return out;
}

std::string formatDayMonthYear(const Date& d) {
    std::string out;
    out.reserve(11);
    appendDayMonthYear(out, d);
    return out;
}

void appendDayMonthYear(std::string& out, const Date& d) {
    appendTwo(out, d.day);
    out.push_back('/');
    out.append(monthAbbreviation(d.month));
    out.push_back('/');
    appendFour(out, d.year);
}

std::string formatIsoDate(const Date& d) {
    std::string out;
    out.reserve(19);
    appendFour(out, d.year);
    out.push_back('-');
    appendTwo(out, d.month);
    out.push_back('-');
    appendTwo(out, d.day);
    appendTime(out, d);
    return out;
}

Date addMonths(const Date& d, int months) {
    const long total = static_cast<long>(d.year) * 12 + (d.month - 1) + months;
    const long year = total >= 0 ? total / 12 : (total - 11) / 12;
    const int month = static_cast<int>(total - year * 12) + 1;
    if (year < 100 || year > 9999) {
        throw RuntimeError::invalidProcedureCall();
    }
    Date out = d;
    out.year = static_cast<int>(year);
    out.month = month;
    const int last = daysInMonth(out.year, month);
    if (out.day > last) {
        out.day = last;
    }
    return out;
}

Date today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, 0, 0, 0};
}

double toSerial(const Date& d) {
    const long days =
        daysFromCivil(d.year, static_cast<unsigned>(d.month), static_cast<unsigned>(d.day)) -
        kSerialEpoch;
    const double fraction = (d.hour * 3600 + d.minute * 60 + d.second) / 86400.0;
    return static_cast<double>(days) + (days >= 0 ? fraction : -fraction);
}

Date fromSerial(double serial) {
    // Written so that NaN fails the test too: it compares false with everything.
    if (!(serial >= kFirstCalendarSerial && serial < kPastCalendarSerial)) {
        throw RuntimeError::overflow();
    }
    const double whole = std::trunc(serial);
    double fraction = std::fabs(serial - whole);
    long seconds = std::lround(fraction * 86400.0);
    long days = static_cast<long>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        days += serial >= 0 ? 1 : -1;
    }
    Date d;
    civilFromDays(days + kSerialEpoch, d.year, d.month, d.day);
    d.hour = static_cast<int>(seconds / 3600);
    d.minute = static_cast<int>(seconds / 60 % 60);
    d.second = static_cast<int>(seconds % 60);
    return d;
}

}  // namespace quillet
