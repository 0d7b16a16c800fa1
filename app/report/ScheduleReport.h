#pragma once
// The printable repayment schedule: a text document laid out by Qt on the pages of a printer or
// PDF writer, with the page header and footer of the definition on every page.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "report/ReportCalculation.h"
#include "report/ReportDefinition.h"
#include "report/ReportPlaceholders.h"
#include "report/ReportTable.h"

class QPagedPaintDevice;
class QPageLayout;
class QPaintDevice;
class QSizeF;
class QTextDocument;

namespace quillet {

/// \brief Everything one report shows. Without a calculation the loan-inputs block is left out.
struct ReportContent {
    ReportDefinition definition;
    ReportTable table;
    std::optional<ReportCalculation> calculation;
};

/// The placeholder values of the document's texts ({amount} ... {today}, {rows}, {title}).
PlaceholderValues documentValues(const ReportContent& content);

/// The paper, orientation and margins the definition asks for.
QPageLayout reportPageLayout(const ReportDefinition& definition);

/// \brief The body of the report (titles, loan inputs, schedule table with its heading row
/// repeated on every page, totals) laid out for device in pages of bodySize device pixels.
std::unique_ptr<QTextDocument> buildReportDocument(const ReportContent& content,
                                                   QPaintDevice& device, const QSizeF& bodySize);

/// \brief Draws the whole report on device with the page layout it already has (a print preview
/// lets the user change it). Returns the number of pages, or 0 when the device cannot be painted.
int renderReport(const ReportContent& content, QPagedPaintDevice& device);

/// Writes the report as a PDF file; on failure returns false and says why in error.
bool writeReportPdf(const ReportContent& content, const std::filesystem::path& file,
                    std::string& error);

}  // namespace quillet
