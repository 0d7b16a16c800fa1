#pragma once
// Making the report from its definition file and the stored schedule, for the window's report
// control and for quillet-schedule.

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

#include "report/ReportCalculation.h"
#include "report/ScheduleReport.h"

namespace quillet {

/// \brief Why a report cannot be made, as one message for the user.
class ReportFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// \brief Loads the definition, reads the EMI table from the store "det" and builds the
/// report's texts. Throws ReportFailure naming the file and line of a faulty definition, or the
/// store's description when the schedule cannot be read.
ReportContent loadReportContent(const std::filesystem::path& definition,
                                const std::optional<ReportCalculation>& calculation);

/// \brief Writes the stored schedule as a PDF and/or CSV file (an empty path skips that output),
/// using the definition file and the loan inputs of the calculation. On failure returns false
/// and puts the reason in error; nothing is shown.
///
/// The PDF needs a QGuiApplication (or QApplication) created by the caller beforehand; without a
/// display set QT_QPA_PLATFORM=offscreen before creating it. The CSV alone needs no Qt
/// application. Without one, asking for a PDF fails with a message saying so.
bool writeScheduleReport(const std::filesystem::path& definition,
                         const ReportCalculation& calculation,
                         const std::filesystem::path& pdfOrEmpty,
                         const std::filesystem::path& csvOrEmpty, std::string& error);

}  // namespace quillet
