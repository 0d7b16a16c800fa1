#pragma once
// The loan inputs of the calculation a report shows, as the window held them.

#include <string>

#include "runtime/Date.h"

namespace quillet {

/// \brief The texts of the input boxes, the picked start date and the instalment shown in the
/// "EMI / Month :" box, exactly as the calculation used them.
struct ReportCalculation {
    std::string amount;
    std::string months;
    std::string rate;
    std::string decimals;
    Date start;
    std::string instalment;
};

}  // namespace quillet
