#pragma once
/// \file
/// \brief The command line of quillet-schedule: one table of options, read with Qt's parser.

#include <optional>
#include <string>
#include <vector>

#include "schedule/ScheduleComputation.h"

namespace quillet {

/// How the schedule is printed on standard output.
enum class OutputFormat { Csv, Json };

/// The file name that stands for standard output in --pdf and --csv.
inline constexpr const char* kStandardOutputName = "-";

/// \brief What the command line asks for.
struct ToolOptions {
    ScheduleInputs inputs;
    std::string startText = "2024-01-01";  ///< --start as given, for the JSON inputs
    bool emiOnly = false;
    bool store = false;
    OutputFormat format = OutputFormat::Csv;
    std::string pdf;  ///< empty: none; kStandardOutputName: standard output
    std::string csv;
    std::string backup;         ///< --backup FILE: copy the store there and do nothing else
    bool createSchema = false;  ///< create the default schema's missing tables in "det"
    bool whichStore = false;    ///< name the store "det" leads to
    bool verbose = false;       ///< with --store, name that store on stderr first
    bool help = false;
    bool version = false;
};

/// \brief Reads the arguments (without the program name). Returns the problem as one line when
/// the command line is malformed: an unknown option, a missing or bad value, a stray argument.
std::optional<std::string> parseToolOptions(const std::vector<std::string>& args,
                                            ToolOptions& options);

/// The text --help prints: usage, options, what goes to stdout, exit statuses.
std::string toolHelpText();

}  // namespace quillet
