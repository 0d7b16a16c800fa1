#pragma once
/// \file
/// \brief quillet-schedule: the window's computation on the same texts, without a window.

#include <iosfwd>
#include <string>
#include <vector>

#include "cli/ToolStatus.h"

namespace quillet {

/// \brief Runs the tool with its arguments (without the program name). Writes the schedule (or
/// the instalment, or a report sent to '-') to out and diagnostics to err; out receives nothing
/// unless the status is kToolDone.
int runScheduleTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace quillet
