#pragma once
/// \file
/// \brief The reports quillet-schedule writes for --pdf and --csv.

#include <string>

#include "cli/ToolOptions.h"

namespace quillet {

/// True when the options ask for a report.
bool wantsReport(const ToolOptions& options);

/// \brief Writes the reports the options ask for. A report sent to kStandardOutputName is put
/// into standardOutput instead of a file, for the caller to print once everything succeeded.
/// On failure returns false with the reason in problem.
bool writeToolReports(const ToolOptions& options, std::string& standardOutput,
                      std::string& problem);

}  // namespace quillet
