#pragma once
// The printable repayment schedule: paginated from the heights of its parts, then each page
// drawn on its own with a painter (page header and footer, table heading, its rows, totals; the
// titles, loan inputs and chart on the first page).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QImage>
#include <QPageLayout>
#include <QSize>
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

class PageFonts;

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
    /// own resolution. Only that page's rows are written. Not for two threads at once: the
    /// fonts of the device are kept from one page to the next.
    void drawPage(QPainter& painter, int page) const;

    /// The paper of a page, margins included, in whole pixels at dotsPerInch.
    QSize paperPixels(double dotsPerInch) const;
    /// \brief Page (0-based) drawn on white paper of its full size at dotsPerInch, as the print
    /// preview shows it.
    QImage pageImage(int page, double dotsPerInch) const;

private:
    const ReportContent& m_content;
    QPageLayout m_layout;
    QSizeF m_pageSize;
    std::vector<ReportPage> m_pages;
    PlaceholderValues m_values;
    // The fonts and glyph tables of the device drawn on last: a printer or PDF keeps one device
    // for all pages, a preview one per zoom.
    mutable std::shared_ptr<PageFonts> m_fonts;
};

/// \brief Draws the whole report on device with the page layout it already has (a printer
/// dialog lets the user change it). Returns the number of pages, or 0 when the device cannot be
/// painted.
int renderReport(const ReportContent& content, QPagedPaintDevice& device);

/// Writes the report as a PDF file; on failure returns false and says why in error.
bool writeReportPdf(const ReportContent& content, const std::filesystem::path& file,
                    std::string& error);

}  // namespace quillet
