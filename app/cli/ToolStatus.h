#pragma once
/// \file
/// \brief What quillet-schedule tells its caller: the exit statuses, as its help text lists them,
/// and the start of its diagnostic lines. Every part of the tool uses these, so a status or the
/// prefix cannot drift between the computation, the store options and the backup.

namespace quillet {

/// The program's name, as its diagnostics and --version show it.
inline constexpr const char* kToolName = "quillet-schedule";
/// The start of every diagnostic line of the tool.
inline constexpr const char* kToolPrefix = "quillet-schedule: ";

/// Done: the requested output is on stdout.
inline constexpr int kToolDone = 0;
/// The record store or an output file (stdout included) failed.
inline constexpr int kToolOutputFailed = 1;
/// An input is not a number or the computation failed.
inline constexpr int kToolInputFailed = 2;
/// The command line is malformed.
inline constexpr int kToolUsage = 64;

}  // namespace quillet
