#pragma once
/// \file
/// \brief quillet-schedule: the window's computation on the same texts, without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace quillet {

/// Exit statuses of the tool, as its help text lists them.
inline constexpr int kToolDone = 0;
/// An input is not a number or the computation failed.
inline constexpr int kToolInputFailed = 2;
/// The record store or an output file (stdout included) failed.
inline constexpr int kToolOutputFailed = 1;
/// The command line is malformed.
inline constexpr int kToolUsage = 64;

/// \brief Runs the tool with its arguments (without the program name). Writes the schedule (or
/// the instalment, or a report sent to '-') to out and diagnostics to err; out receives nothing
/// unless the status is kToolDone.
int runScheduleTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
