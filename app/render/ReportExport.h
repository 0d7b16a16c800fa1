#pragma once
// Making the report from its definition file and the rows of its own calculation, for the
// window's report control and for quillet-schedule.

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

#include "render/ScheduleReport.h"
#include "report/ReportCalculation.h"
#include "report/StoredSchedule.h"

namespace quillet {

struct ScheduleInputs;

/// \brief Why a report cannot be made, as one message for the user.
class ReportFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The decimals the calculation rounded to, as whole decimals for the report's fixed formats.
std::optional<int> chosenDecimals(const std::optional<ReportCalculation>& calculation);

/// \brief Loads the definition and builds the report's texts from schedule, the rows of the
/// calculation. Throws ReportFailure naming the file and line of a faulty definition.
/// The report shares schedule; no row's text is written until a page shows it.
ReportContent loadReportContent(const std::filesystem::path& definition,
                                const std::optional<ReportCalculation>& calculation,
                                std::shared_ptr<const StoredSchedule> schedule);

/// \brief Computes the schedule of inputs and writes it as a PDF report and/or CSV file (an
/// empty path skips that output). Nothing is read from or written to the store: the files show
/// this computation whatever the store holds. On failure returns false and puts the reason in
/// error; nothing is shown.
///
/// The PDF needs a QGuiApplication (or QApplication) created by the caller beforehand; without a
/// display set QT_QPA_PLATFORM=offscreen before creating it. The CSV alone needs no Qt
/// application. Without one, asking for a PDF fails with a message saying so.
bool writeScheduleReport(const std::filesystem::path& definition, const ScheduleInputs& inputs,
                         const std::filesystem::path& pdfOrEmpty,
                         const std::filesystem::path& csvOrEmpty, std::string& error);

}  // namespace quillet
