#include "schedule/ScheduleComputation.h"

#include <cmath>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

// The classic conversion of a text operand inside arithmetic: a number or "Type mismatch".
double numberFrom(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value) {
        throw RuntimeError::typeMismatch();
    }
    return *value;
}

[[noreturn]] void overflow() {
    throw RuntimeError::overflow();
}

// The month after d, as addMonths(d, 1) gives it, without its general arithmetic: the run
// takes this step every month. Only a day past the 28th can be missing in the next month, and
// only December moves the year (where the calendar's end is addMonths' to report).
inline Date nextMonth(const Date& d) {
    if (d.month == 12 || d.day > 28) [[unlikely]] {
        return addMonths(d, 1);
    }
    Date next = d;
    ++next.month;
    return next;
}

inline void requireFinite(double x) {
    if (!std::isfinite(x)) [[unlikely]] {
        overflow();
    }
}

}  // namespace

ScheduleComputation::ScheduleComputation(const ScheduleInputs& inputs)
    : m_amountText(inputs.amount),
      m_rateText(inputs.rate),
      m_monthsText(inputs.months),
      m_date(inputs.start.dateOnly()) {
    // The order matters: a bad decimals text fails before a bad duration.
    m_roundTo = numberFrom(inputs.decimals);
    m_monthCount = toInteger16(numberFrom(inputs.months));
    try {
        const int n = toInteger16(m_roundTo);
        if (n < 0) {
            throw RuntimeError::invalidProcedureCall();
        }
        m_decimals = n;
        // The same double as std::pow(10, n) taken for each value: the result is the same.
        m_scale = std::pow(10.0, n);
        m_plainDecimals = n >= 1 && n <= 4 && roundsToNearest();
    } catch (const RuntimeError& failure) {
        m_decimalsFailure = failure;
    }
}

int ScheduleComputation::decimals() const {
    if (m_decimalsFailure) {
        throw *m_decimalsFailure;
    }
    return m_decimals;
}

ScheduleRow ScheduleComputation::step(std::int16_t i) {
    if (i == 1) {
        // The balance and the months left are still the texts of the boxes; they become numbers
        // only here, through the arithmetic, so a bad amount fails at the first month.
        m_remaining = numberFrom(m_monthsText);
    } else {
        // m_balance holds the last month's closing balance.
        m_remaining -= 1;
        // A day missing in the next month becomes its last day, and later months count from the
        // clamped date: 31 Jan -> 29 Feb -> 29 Mar.
        m_date = nextMonth(m_date);
    }
    if (i == 1) {
        // The text never changes: read it, and work out the monthly rate, once.
        m_annualRate = numberFrom(m_rateText);
        m_monthlyRate = (m_annualRate * 0.01) / 12;
    }
    const double r = m_monthlyRate;
    const double balance = i == 1 ? numberFrom(m_amountText) : m_balance;
    const double n = m_remaining;

    double instalment = 0;
    if (r == 0) {
        if (n == 0) {
            throw RuntimeError::invalidProcedureCall();
        }
        instalment = balance / n;
    } else {
        const double denominator = 1 - std::pow(1 + r, -n);
        if (denominator == 0) {
            throw RuntimeError::invalidProcedureCall();
        }
        instalment = r * balance / denominator;
    }
    ScheduleRow row;
    row.sn = i;
    row.openingBalance = balance;
    row.instalment = instalment;
    row.interest = balance * r;
    row.principal = instalment - row.interest;
    row.closingBalance = balance - row.principal;
    row.date = m_date;
    requireFinite(row.instalment);
    requireFinite(row.interest);
    requireFinite(row.principal);
    requireFinite(row.closingBalance);
    m_instalment = instalment;
    m_balance = row.closingBalance;
    return row;
}

void ScheduleComputation::appendRounded(std::string& out, double x) const {
    appendRoundedGeneral(out, x, decimals(), m_scale);
}

std::optional<double> ScheduleComputation::roundedValueOtherwise(double x) const {
    // The general form of these values is a plain decimal; the cases below are exactly those
    // appendRoundedGeneral writes as k's digits with the point put back, and that text reads back
    // as k / 10^d, the correctly rounded quotient computed here.
    constexpr double kFifteenDigits = 1e15;
    const int d = decimals();
    if (!std::isfinite(x) || d > 15) {
        return std::nullopt;
    }
    if (d == 0) {
        const double whole = wholeHalfEven(x);
        return std::fabs(whole) < kFifteenDigits ? std::optional<double>(whole) : std::nullopt;
    }
    const double scaled = x * m_scale;
    if (!(std::fabs(scaled) < kFifteenDigits)) {
        return std::nullopt;
    }
    const double k = wholeHalfEven(scaled);
    // Below 1E-04 the general form is the exponent form.
    if (k != 0 && d > 4 && std::fabs(k) < std::pow(10.0, d - 4)) {
        return std::nullopt;
    }
    return k / m_scale;
}

std::string ScheduleComputation::rounded(double x) const {
    std::string out;
    appendRounded(out, x);
    return out;
}

std::string ScheduleComputation::dateText(const Date& d) {
    return formatDayMonthYear(d);
}

std::string ScheduleComputation::result() const {
    // With no month computed there is nothing to round: the result is "0" whatever decimals
    // were asked for, even ones that could not round a number.
    if (!m_instalment) {
        return "0";
    }
    return rounded(*m_instalment);
}

}  // namespace quillet
