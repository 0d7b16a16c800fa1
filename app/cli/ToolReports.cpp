#include "cli/ToolReports.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "cli/OffscreenApplication.h"
#include "render/ReportExport.h"
#include "report/ReportDefinitionSearch.h"

namespace quillet {

bool wantsReport(const ToolOptions& options) {
    return !options.pdf.empty() || !options.csv.empty();
}

bool writeToolReports(const ToolOptions& options, std::string& standardOutput,
                      std::string& problem) {
    if (!options.pdf.empty()) {
        ensureGuiApplication();
    }
    // The report writer makes files; one meant for stdout is made in a private folder first, so
    // nothing reaches stdout unless the whole report was made.
    QTemporaryDir scratch;
    std::filesystem::path pdf = options.pdf;
    std::filesystem::path csv = options.csv;
    std::filesystem::path toStandardOutput;
    for (std::filesystem::path* file : {&pdf, &csv}) {
        if (*file == kStandardOutputName) {
            if (!scratch.isValid()) {
                problem = "cannot make a temporary folder: " + scratch.errorString().toStdString();
                return false;
            }
            *file = std::filesystem::path(scratch.path().toStdString()) /
                    (file == &pdf ? "report.pdf" : "report.csv");
            toStandardOutput = *file;
        }
    }
    if (!writeScheduleReport(reportDefinitionFile(), options.inputs, pdf, csv, problem)) {
        return false;
    }
    if (!toStandardOutput.empty()) {
        std::ifstream in(toStandardOutput, std::ios::binary);
        standardOutput.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            problem = "cannot read back the report made for stdout";
            return false;
        }
    }
    return true;
}

}  // namespace quillet
