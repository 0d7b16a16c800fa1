#pragma once
/// \file
/// \brief quillet-schedule: the window's computation on the same texts, without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace quillet {

/// Exit status for bad input or a failed computation.
inline constexpr int kToolFailure = 2;

/// \brief Runs the tool with its arguments (without the program name). Writes the schedule (or
/// the instalment) to out and messages to err; nothing reaches out when the run fails.
int runScheduleTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
