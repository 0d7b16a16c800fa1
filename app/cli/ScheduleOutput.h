#pragma once
/// \file
/// \brief The schedule as quillet-schedule prints it on stdout: CSV, the instalment alone, or JSON.

#include <string>

#include "cli/ToolOptions.h"

namespace quillet {

/// \brief Computes the schedule of the options' inputs and returns the whole text for stdout.
/// Throws the computation's RuntimeError; nothing is returned half-built.
std::string scheduleOutput(const ToolOptions& options);

}  // namespace quillet
