#include "report/ReportExport.h"

#include <QGuiApplication>

#include "report/ReportCsv.h"
#include "report/StoredSchedule.h"
#include "runtime/RuntimeError.h"

namespace quillet {

ReportContent loadReportContent(const std::filesystem::path& definition,
                                const std::optional<ReportCalculation>& calculation) {
    ReportContent content;
    content.calculation = calculation;
    try {
        content.definition = loadReportDefinition(definition);
    } catch (const ReportDefinitionError& error) {
        throw ReportFailure(describeDefinitionError(definition, error));
    }
    StoredSchedule schedule;
    try {
        schedule = readStoredSchedule();
    } catch (const RuntimeError& error) {
        throw ReportFailure("The schedule cannot be read from the record store: " +
                            error.description());
    }
    try {
        content.table = buildReportTable(content.definition, schedule);
    } catch (const ReportDefinitionError& error) {
        throw ReportFailure(describeDefinitionError(definition, error));
    }
    return content;
}

bool writeScheduleReport(const std::filesystem::path& definition,
                         const ReportCalculation& calculation,
                         const std::filesystem::path& pdfOrEmpty,
                         const std::filesystem::path& csvOrEmpty, std::string& error) {
    if (!pdfOrEmpty.empty() &&
        qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        error = "Writing a PDF needs a QGuiApplication; create one before asking for the report";
        return false;
    }
    ReportContent content;
    try {
        content = loadReportContent(definition, calculation);
    } catch (const ReportFailure& failure) {
        error = failure.what();
        return false;
    }
    if (!pdfOrEmpty.empty() && !writeReportPdf(content, pdfOrEmpty, error)) {
        return false;
    }
    if (!csvOrEmpty.empty() &&
        !writeReportCsv(content.definition, content.table, csvOrEmpty, error)) {
        return false;
    }
    return true;
}

}  // namespace quillet
