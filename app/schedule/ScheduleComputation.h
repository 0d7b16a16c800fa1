#pragma once
/// \file
/// \brief The arithmetic of one calculation: how the texts of the input boxes and the start date
/// become the monthly instalment and the month-by-month repayment schedule.

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

#include "runtime/Date.h"

namespace quillet {

/// \brief The inputs exactly as the window holds them: the texts of the boxes and the picked date.
struct ScheduleInputs {
    std::string amount = "1000000";
    std::string months = "120";
    std::string rate = "6";
    std::string decimals = "0";
    Date start{2024, 1, 1};
};

/// \brief One month of the schedule, unrounded, with the texts that are stored for it.
struct ScheduleRow {
    std::int16_t sn = 0;
    double openingBalance = 0;
    double interest = 0;
    double principal = 0;
    double closingBalance = 0;
    double instalment = 0;
    Date date;
};

/// \brief Runs the computation month by month, as the schedule run stores each row once computed.
///
/// Start (the constructor) reads the decimals, then the month count; the amount and the rate are
/// converted at the first month step, so a bad amount fails there. Failures are RuntimeErrors
/// carrying the classic number: 13 "Type mismatch" for a text that is not a number, 6 "Overflow"
/// for a month count outside the 16-bit range.
class ScheduleComputation {
public:
    explicit ScheduleComputation(const ScheduleInputs& inputs);

    /// N: the duration converted to a 16-bit whole number (halves to even). Below 1, no month.
    std::int16_t monthCount() const { return m_monthCount; }

    /// The month step for counter i (1, 2, ... in order): updates the working values and returns
    /// the month's row.
    ScheduleRow step(std::int16_t i);

    /// R(x): x rounded to the chosen decimals (halves to even), in the general number form.
    std::string rounded(double x) const;
    /// Appends R(x) to out.
    void appendRounded(std::string& out, double x) const;
    /// \brief The value R(x) reads back as, when R(x) is a plain decimal of at most 15 digits
    /// (every figure of an ordinary schedule); nullopt for the other forms (exponent form, more
    /// digits), whose text is the value stored. Raises the rounding's errors as R(x) does.
    std::optional<double> roundedValue(double x) const {
        // Inline for the common case (a few decimals, an ordinary figure) as the run rounds
        // four figures a month; the other cases are decided out of line.
        if (m_plainDecimals) {
            const double scaled = x * m_scale;
            if (std::fabs(scaled) < 1e15) {
                // k / 10^d is the correctly rounded quotient that k's digits with the point put
                // back read as.
                return wholeHalfEvenNearest(scaled) / m_scale;
            }
        }
        return roundedValueOtherwise(x);
    }
    /// The date text of a row: dd/Mmm/yyyy.
    static std::string dateText(const Date& d);

    /// R(instalment of the last month computed); "0" when no month was computed. Raises the
    /// rounding's error (5 for negative decimals, 6 beyond 32767) when a month was computed.
    std::string result() const;

    /// The decimals read at the start (the window keeps it as its RoundTo).
    double roundTo() const { return m_roundTo; }

private:
    std::optional<double> roundedValueOtherwise(double x) const;
    /// RoundTo made whole (halves to even); error 5 when negative, 6 beyond 32767.
    int decimals() const;

    double m_roundTo = 0;
    // Fixed for the run, so worked out once at the start: the decimals, 10^decimals, or the
    // error rounding raises (only when something is rounded, so it is kept until then).
    int m_decimals = 0;
    double m_scale = 1;
    std::optional<RuntimeError> m_decimalsFailure;
    // 1 to 4 decimals read without error: every rounded figure below 10^15 / 10^d is then written
    // as a plain decimal (the exponent form starts below 1E-04). Set only while the process rounds
    // to nearest, as the inline rounding of those figures needs.
    bool m_plainDecimals = false;
    std::int16_t m_monthCount = 0;
    std::string m_amountText;
    std::string m_rateText;
    std::string m_monthsText;
    double m_annualRate = 0;
    double m_monthlyRate = 0;
    double m_balance = 0;
    double m_remaining = 0;
    Date m_date;
    std::optional<double> m_instalment;
};

}  // namespace quillet
