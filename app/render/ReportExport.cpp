#include "render/ReportExport.h"

#include <QGuiApplication>

#include <algorithm>

#include "report/ReportCsv.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "schedule/ScheduleComputation.h"

namespace quillet {

std::optional<int> chosenDecimals(const std::optional<ReportCalculation>& calculation) {
    if (!calculation) {
        return std::nullopt;
    }
    const auto number = parseNumber(calculation->decimals);
    if (!number) {
        return std::nullopt;
    }
    try {
        // Rounded as the computation rounds it ("1.5" is 2); more decimals than a double holds
        // would only print noise.
        return std::clamp<int>(toInteger16(*number), 0, 15);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
}

ReportContent loadReportContent(const std::filesystem::path& definition,
                                const std::optional<ReportCalculation>& calculation,
                                std::shared_ptr<const StoredSchedule> schedule) {
    ReportContent content;
    content.calculation = calculation;
    try {
        content.definition = loadReportDefinition(definition);
        content.table =
            buildReportTable(content.definition, std::move(schedule), chosenDecimals(calculation));
    } catch (const ReportDefinitionError& error) {
        throw ReportFailure(describeDefinitionError(definition, error));
    }
    return content;
}

bool writeScheduleReport(const std::filesystem::path& definition, const ScheduleInputs& inputs,
                         const std::filesystem::path& pdfOrEmpty,
                         const std::filesystem::path& csvOrEmpty, std::string& error) {
    if (!pdfOrEmpty.empty() &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        error = "Writing a PDF needs a QGuiApplication; create one before asking for the report";
        return false;
    }
    std::shared_ptr<const StoredSchedule> schedule;
    ReportCalculation calculation{inputs.amount,   inputs.months, inputs.rate,
                                  inputs.decimals, inputs.start,  {}};
    try {
        schedule = std::make_shared<const StoredSchedule>(
            computedSchedule(inputs, calculation.instalment));
    } catch (const RuntimeError& e) {
        error = e.description();
        return false;
    }
    if (!pdfOrEmpty.empty()) {
        try {
            const ReportContent content = loadReportContent(definition, calculation, schedule);
            if (!writeReportPdf(content, pdfOrEmpty, error)) {
                return false;
            }
        } catch (const ReportFailure& failure) {
            error = failure.what();
            return false;
        }
    }
    return csvOrEmpty.empty() || writeReportCsv(*schedule, csvOrEmpty, error);
}

}  // namespace quillet
