#pragma once
// The schedule as CSV: the report's columns and cell texts, one line per stored row.

#include <filesystem>
#include <string>

#include "report/ReportDefinition.h"
#include "report/ReportTable.h"

namespace quillet {

/// \brief The CSV text: a header row (the stored column names, or the report's headings when the
/// definition says csv-header = headings), then one line per row with the texts the report
/// prints. Fields holding a comma, a quote or a line break are quoted; lines end with "\n".
/// No totals row: the file holds data only.
std::string reportCsv(const ReportDefinition& definition, const ReportTable& table);

/// Writes reportCsv to file; on failure returns false and says why in error.
bool writeReportCsv(const ReportDefinition& definition, const ReportTable& table,
                    const std::filesystem::path& file, std::string& error);

}  // namespace quillet
