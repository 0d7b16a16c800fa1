#pragma once
/// \file
/// \brief What quillet-schedule says about its inputs beyond the window's three checks: which
/// option's value a failed computation stumbled on, and the values that compute something other
/// than a whole schedule.

#include <string>
#include <vector>

#include "runtime/RuntimeError.h"
#include "schedule/ScheduleComputation.h"

namespace quillet {

/// \brief The diagnostic (without the program's prefix) for a computation of inputs that failed
/// with error: the option and its value as given, the error's description and why, such as
/// `--decimals "x": Type mismatch (not a number)`. The option is found by taking the inputs in the
/// order the computation reads them.
std::string describeInputFailure(const ScheduleInputs& inputs, const RuntimeError& error);

/// \brief Warnings (without the prefix) for inputs that compute but not a full schedule: no month
/// at all, or a fractional month count that is rounded to whole months.
std::vector<std::string> inputWarnings(const ScheduleInputs& inputs);

}  // namespace quillet
