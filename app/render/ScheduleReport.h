#pragma once
// The printable repayment schedule: paginated from the heights of its parts, then each page
// drawn on its own with a painter (page header and footer, table heading, its rows, totals; the
// titles, loan inputs and chart on the first page).

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QPageLayout>
#include <QSizeF>

#include "report/ReportCalculation.h"
#include "report/ReportDefinition.h"
#include "report/ReportPagination.h"
#include "report/ReportPlaceholders.h"
#include "report/ReportTable.h"

class QPagedPaintDevice;
class QPainter;
class QPaintDevice;

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

/// \brief One report laid out on pages of a given layout. Cheap to make: the pages are known
/// from heights, and each is drawn only when asked for.
class ReportPages {
public:
    ReportPages(const ReportContent& content, const QPageLayout& layout);

    int pageCount() const { return static_cast<int>(m_pages.size()); }
    const std::vector<ReportPage>& pages() const { return m_pages; }
    /// The printable area of a page in points.
    QSizeF pageSize() const { return m_pageSize; }

    /// \brief Draws page (0-based) with painter, whose device covers the printable area at its
    /// own resolution.
    void drawPage(QPainter& painter, int page) const;

private:
    const ReportContent& m_content;
    QSizeF m_pageSize;
    std::vector<ReportPage> m_pages;
    PlaceholderValues m_values;
};

/// \brief Draws the whole report on device with the page layout it already has (a printer
/// dialog lets the user change it). Returns the number of pages, or 0 when the device cannot be
/// painted.
int renderReport(const ReportContent& content, QPagedPaintDevice& device);

/// Writes the report as a PDF file; on failure returns false and says why in error.
bool writeReportPdf(const ReportContent& content, const std::filesystem::path& file,
                    std::string& error);

}  // namespace quillet
