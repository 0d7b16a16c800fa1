#pragma once
// The schedule as a plain loop, none of Quillet's code: the limit the benchmarks hold the
// computation to. The same formula, the same pow and the same half-even rounding (nearbyint in
// the default rounding mode rounds halves to even). The inputs come at run time, as Quillet gets
// them, so the compiler cannot fold them; the benchmarks use 1,000,000 at 6% a year from
// 1 Jan 2024, rounded to 2 decimals.

#include <algorithm>
#include <cmath>

namespace quillet::bench {

struct PlainMonth {
    double opening, interest, principal, closing, instalment;
    int year, month, day;
};

inline int plainDaysIn(int year, int month) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

class PlainSchedule {
public:
    PlainSchedule(double amount, double annualRate, int months, int decimals, int year, int month,
                  int day)
        : m_months(months),
          m_left(months),
          m_rate((annualRate * 0.01) / 12),
          m_scale(std::pow(10.0, decimals)),
          m_balance(amount),
          m_year(year),
          m_month(month),
          m_day(day) {}
    // The benchmarks' inputs.
    explicit PlainSchedule(int months) : PlainSchedule(1000000, 6, months, 2, 2024, 1, 1) {}
    int months() const { return m_months; }

    // Month i (1, 2, ... in order), its figures rounded.
    void step(int i, PlainMonth& out) {
        if (i > 1) {
            m_balance = m_closing;
            m_left -= 1;
            if (++m_month > 12) {
                m_month = 1;
                ++m_year;
            }
        }
        const double r = m_rate;
        const double instalment = r * m_balance / (1 - std::pow(1 + r, -m_left));
        const double interest = m_balance * r;
        const double principal = instalment - interest;
        m_closing = m_balance - principal;
        out.opening = rounded(m_balance);
        out.interest = rounded(interest);
        out.principal = rounded(principal);
        out.closing = rounded(m_closing);
        out.instalment = rounded(instalment);
        out.year = m_year;
        out.month = m_month;
        out.day = std::min(m_day, plainDaysIn(m_year, m_month));
    }

private:
    double rounded(double x) const { return std::nearbyint(x * m_scale) / m_scale; }

    int m_months;
    double m_left;
    double m_rate;
    double m_scale;
    double m_balance;
    double m_closing = 0;
    int m_year;
    int m_month;
    int m_day;
};

// yyyy-mm-dd into out[0..9].
inline void writeIsoDate(const PlainMonth& m, char* out) {
    const int digits[] = {m.year / 1000, m.year / 100 % 10, m.year / 10 % 10, m.year % 10,
                          m.month / 10,  m.month % 10,      m.day / 10,       m.day % 10};
    const int at[] = {0, 1, 2, 3, 5, 6, 8, 9};
    for (int k = 0; k < 8; ++k) {
        out[at[k]] = static_cast<char>('0' + digits[k]);
    }
    out[4] = out[7] = '-';
}

}  // namespace quillet::bench
