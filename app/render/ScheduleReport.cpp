#include "render/ScheduleReport.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "render/GlyphTable.h"
#include "render/ReportChart.h"
#include "render/ReportExport.h"
#include "render/ReportStyle.h"
#include "report/ReportNumbers.h"
#include "runtime/Date.h"
#include "runtime/Numbers.h"

namespace quillet {

namespace {

using reportStyle::lineHeight;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

QPageSize::PageSizeId pageSizeId(const std::string& paper) {
    if (paper == "A3") {
        return QPageSize::A3;
    }
    if (paper == "A5") {
        return QPageSize::A5;
    }
    if (paper == "Letter") {
        return QPageSize::Letter;
    }
    if (paper == "Legal") {
        return QPageSize::Legal;
    }
    return QPageSize::A4;
}

/// The heights of the blocks of a report, in points, from the definition's type sizes.
struct Heights {
    explicit Heights(const ReportContent& content, const QSizeF& page) {
        const ReportDefinition& d = content.definition;
        const double size = d.fontSize;
        band = lineHeight(size * reportStyle::kBandScale);
        bodyTop = d.pageHeader.empty() ? 0 : band + reportStyle::kBandGap;
        bodyBottom = page.height() - (d.pageFooter.empty() ? 0 : band + reportStyle::kBandGap);
        title = lineHeight(size * reportStyle::kTitleScale);
        subtitle = d.subtitle.empty() ? 0 : 2 + lineHeight(size * reportStyle::kSubtitleScale);
        const auto inputRows = static_cast<double>((d.inputs.size() + 1) / 2);
        inputRow = lineHeight(size) + 2 * reportStyle::kInputsPadding;
        inputs = content.calculation && !d.inputs.empty()
                     ? reportStyle::kBlockGap + inputRows * inputRow
                     : 0;
        const double body = bodyBottom - bodyTop;
        chart = content.table.series.closingBalance.empty()
                    ? 0
                    : std::min(body * reportStyle::kChartShare, reportStyle::kChartMaxHeight);
        chartGap = chart > 0 ? reportStyle::kBlockGap : 0;
        row = lineHeight(size) + 2 * reportStyle::kCellPadding;
        // Room for two lines of the note under the totals, in the smaller type it is set in.
        totalsNote = d.totalsNote.empty() || d.totalledColumns.empty()
                         ? 0
                         : reportStyle::kNoteGap + 2 * lineHeight(size * reportStyle::kNoteScale);
        table.body = body;
        table.firstPageTop = title + subtitle + inputs + chartGap + chart + reportStyle::kBlockGap;
        table.headingRow = row;
        table.row = row;
        table.totalsRow = row + totalsNote;
        table.emptyNote = row;
    }

    double band = 0;
    double bodyTop = 0;
    double bodyBottom = 0;
    double title = 0;
    double subtitle = 0;
    double inputRow = 0;
    double inputs = 0;
    double chart = 0;
    double chartGap = 0;
    double row = 0;
    double totalsNote = 0;
    ReportHeights table;
};

QFont boldOf(QFont font) {
    font.setWeight(QFont::Bold);
    return font;
}

}  // namespace

/// \brief The report's type made for one device resolution: the fonts, their metrics and their
/// glyph tables, which learn from page to page.
class PageFonts {
public:
    PageFonts(const ReportDefinition& definition, const QPaintDevice& device)
        : dpiX(device.logicalDpiX()),
          dpiY(device.logicalDpiY()),
          body(reportStyle::font(definition, definition.fontSize), &device),
          bold(boldOf(body)),
          metrics(body, &device),
          boldMetrics(bold, &device),
          bodyGlyphs(body, dpiX, dpiY),
          boldGlyphs(bold, dpiX, dpiY) {}

    bool madeFor(const QPaintDevice& device) const {
        return device.logicalDpiX() == dpiX && device.logicalDpiY() == dpiY;
    }

    const int dpiX;
    const int dpiY;
    const QFont body;
    const QFont bold;
    const QFontMetricsF metrics;
    const QFontMetricsF boldMetrics;
    LentGlyphTable bodyGlyphs;
    LentGlyphTable boldGlyphs;
};

namespace {

/// Draws one page: everything in points, turned into the device's pixels here.
class PageDrawer {
public:
    PageDrawer(const ReportContent& content, const QSizeF& pageSize, QPainter& painter,
               const PlaceholderValues& values, PageFonts& fonts)
        : m_content(content),
          m_definition(content.definition),
          m_page(pageSize),
          m_heights(content, pageSize),
          m_painter(painter),
          m_values(values),
          m_scale(reportStyle::pixels(*painter.device(), 1)),
          m_fonts(fonts),
          m_body(fonts.body),
          m_bold(fonts.bold),
          m_metrics(fonts.metrics),
          m_boldMetrics(fonts.boldMetrics) {
        layOutColumns();
    }

    void draw(const ReportPage& page, int index) {
        drawBands();
        double y = m_heights.bodyTop;
        if (index == 0) {
            y = drawTop(y);
        }
        if (!page.heading) {
            return;
        }
        y = drawRow(y, m_content.table.headings, kHeading);
        // Only this page's rows are written, each into the same strings.
        const auto& rows = m_content.table.rows;
        for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r) {
            rows.write(static_cast<std::size_t>(r), m_texts);
            y = drawRow(y, m_texts, kBody);
        }
        if (page.emptyNote) {
            y = drawEmptyNote(y);
        }
        if (page.totals) {
            drawTotals(y);
        }
    }

private:
    enum RowKind { kHeading, kBody };

    QFont font(double points) const {
        return QFont(reportStyle::font(m_definition, points), m_painter.device());
    }
    double px(double points) const { return points * m_scale; }
    QRectF pxRect(double x, double y, double w, double h) const {
        return {px(x), px(y), px(w), px(h)};
    }
    QString expand(const std::string& text) const { return qt(expandTemplate(text, m_values)); }
    std::string expanded(const std::string& text) const { return expandTemplate(text, m_values); }

    void layOutColumns() {
        const auto& columns = m_definition.columns;
        double given = 0;
        int free = 0;
        for (const ReportColumn& column : columns) {
            given += column.widthPercent;
            free += column.widthPercent > 0 ? 0 : 1;
        }
        const double share = free > 0 ? std::max(0.0, 100 - given) / free : 0;
        double x = 0;
        for (const ReportColumn& column : columns) {
            const double width =
                m_page.width() * (column.widthPercent > 0 ? column.widthPercent : share) / 100;
            m_columnX.push_back(x);
            m_columnWidth.push_back(width);
            x += width;
        }
    }

    /// \brief One line of text in a box, aligned, vertically centred. A text too wide for its
    /// box is set smaller until it fits: an amount is never cut short.
    ///
    /// The text is measured and placed from glyphs, whose glyphs join m_line to be drawn with
    /// the others of the row (flush()); a text the table cannot set, or too wide, is drawn at
    /// once the ordinary way with the painter's font, which must be the table's.
    void drawCell(const QRectF& box, std::string_view text, CellAlignment alignment,
                  const QFontMetricsF& metrics, GlyphTable& glyphs) {
        if (text.empty()) {
            return;
        }
        const double padding = px(reportStyle::kCellPadding);
        const double room = box.width() - 2 * padding;
        const std::size_t from = m_line.size();
        const auto width = glyphs.layOut(text, m_line);
        if (!width || (*width > room && room > 0)) {
            m_line.truncate(from);
            drawText(box, QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                     alignment, metrics);
            return;
        }
        m_line.shift(from, QPointF(alignedX(box, *width, alignment), baselineIn(box, metrics)));
    }

    /// Draws the glyphs gathered by drawCell in the painter's pen.
    void flush(GlyphTable& glyphs) { m_line.draw(m_painter, glyphs.rawFont()); }

    double alignedX(const QRectF& box, double width, CellAlignment alignment) const {
        const double padding = px(reportStyle::kCellPadding);
        if (alignment == CellAlignment::Right) {
            return box.right() - padding - width;
        }
        if (alignment == CellAlignment::Center) {
            return box.left() + (box.width() - width) / 2;
        }
        return box.left() + padding;
    }

    static double baselineIn(const QRectF& box, const QFontMetricsF& metrics) {
        return box.top() + (box.height() - metrics.ascent() - metrics.descent()) / 2 +
               metrics.ascent();
    }

    /// drawCell the ordinary way: shaped to be measured, shaped again to be drawn.
    void drawText(const QRectF& box, const QString& text, CellAlignment alignment,
                  const QFontMetricsF& metrics) {
        const double padding = px(reportStyle::kCellPadding);
        const double room = box.width() - 2 * padding;
        double width = metrics.horizontalAdvance(text);
        const bool shrink = width > room && room > 0;
        const QFont font = m_painter.font();
        if (shrink) {
            QFont smaller = font;
            smaller.setPointSizeF(font.pointSizeF() * room / width * 0.98);
            m_painter.setFont(smaller);
            width = QFontMetricsF(smaller, m_painter.device()).horizontalAdvance(text);
        }
        m_painter.drawText(QPointF(alignedX(box, width, alignment), baselineIn(box, metrics)),
                           text);
        if (shrink) {
            m_painter.setFont(font);
        }
    }

    void drawBands() {
        const double rule = px(3);
        const QFont bandFont = font(m_definition.fontSize * reportStyle::kBandScale);
        m_painter.setFont(bandFont);
        const auto band = [&](const PageBand& texts, const QRectF& area, double ruleY) {
            if (texts.empty()) {
                return;
            }
            m_painter.setPen(reportStyle::kMutedText);
            m_painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, expand(texts.left));
            m_painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, expand(texts.center));
            m_painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter, expand(texts.right));
            m_painter.setPen(QPen(reportStyle::kRule, 0));
            m_painter.drawLine(QPointF(area.left(), ruleY), QPointF(area.right(), ruleY));
        };
        const QRectF header = pxRect(0, 0, m_page.width(), m_heights.band);
        band(m_definition.pageHeader, header, header.bottom() + rule);
        const QRectF footer =
            pxRect(0, m_page.height() - m_heights.band, m_page.width(), m_heights.band);
        band(m_definition.pageFooter, footer, footer.top() - rule);
    }

    /// Titles, loan inputs and chart; returns where the table starts.
    double drawTop(double y) {
        const double size = m_definition.fontSize;
        m_painter.setPen(Qt::black);
        QFont title = font(size * reportStyle::kTitleScale);
        title.setWeight(QFont::Bold);
        m_painter.setFont(title);
        m_painter.drawText(pxRect(0, y, m_page.width(), m_heights.title), Qt::AlignCenter,
                           expand(m_definition.title));
        y += m_heights.title;
        if (m_heights.subtitle > 0) {
            m_painter.setFont(font(size * reportStyle::kSubtitleScale));
            m_painter.setPen(reportStyle::kMutedText);
            m_painter.drawText(pxRect(0, y + 2, m_page.width(), m_heights.subtitle - 2),
                               Qt::AlignCenter, expand(m_definition.subtitle));
            y += m_heights.subtitle;
        }
        if (m_heights.inputs > 0) {
            y = drawInputs(y + reportStyle::kBlockGap);
        }
        if (m_heights.chart > 0) {
            y += m_heights.chartGap;
            drawScheduleChart(m_painter, pxRect(0, y, m_page.width(), m_heights.chart), m_content,
                              m_scale);
            y += m_heights.chart;
        }
        return y + reportStyle::kBlockGap;
    }

    // The loan inputs as label/value pairs, two pairs to a row, in a lightly shaded box.
    double drawInputs(double y) {
        const auto& inputs = m_definition.inputs;
        const double rowHeight = m_heights.inputRow;
        const double rows = static_cast<double>((inputs.size() + 1) / 2);
        const QRectF box = pxRect(0, y, m_page.width(), rows * rowHeight);
        m_painter.fillRect(box, reportStyle::kInputsShade);
        m_painter.setPen(QPen(reportStyle::kRule, px(0.75)));
        m_painter.drawRect(box);
        constexpr double kShares[] = {0, 0.27, 0.5, 0.77, 1};
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const double top = y + static_cast<double>(i / 2) * rowHeight;
            const std::size_t pair = (i % 2) * 2;
            const double labelX = m_page.width() * kShares[pair];
            const double valueX = m_page.width() * kShares[pair + 1];
            const double end = m_page.width() * kShares[pair + 2];
            m_painter.setFont(m_body);
            m_painter.setPen(reportStyle::kMutedText);
            drawCell(pxRect(labelX, top, valueX - labelX, rowHeight), expanded(inputs[i].label),
                     CellAlignment::Left, m_metrics, *m_fonts.bodyGlyphs);
            flush(*m_fonts.bodyGlyphs);
            m_painter.setFont(m_bold);
            m_painter.setPen(Qt::black);
            drawCell(pxRect(valueX, top, end - valueX, rowHeight), expanded(inputs[i].value),
                     CellAlignment::Left, m_boldMetrics, *m_fonts.boldGlyphs);
            flush(*m_fonts.boldGlyphs);
        }
        return y + rows * rowHeight;
    }

    double drawRow(double y, const std::vector<std::string>& texts, RowKind kind) {
        const bool heading = kind == kHeading;
        const QFont& font = heading ? m_bold : m_body;
        const QFontMetricsF& metrics = heading ? m_boldMetrics : m_metrics;
        GlyphTable& glyphs = heading ? *m_fonts.boldGlyphs : *m_fonts.bodyGlyphs;
        const double height = m_heights.row;
        const QRectF row = pxRect(0, y, m_page.width(), height);
        if (kind == kHeading) {
            m_painter.fillRect(row, reportStyle::kHeadingShade);
            m_painter.setPen(QPen(reportStyle::kStrongRule, px(1)));
            m_painter.drawLine(row.topLeft(), row.topRight());
            m_painter.drawLine(row.bottomLeft(), row.bottomRight());
        } else {
            m_painter.setPen(QPen(reportStyle::kRowRule, px(0.5)));
            m_painter.drawLine(row.bottomLeft(), row.bottomRight());
        }
        m_painter.setFont(font);
        m_painter.setPen(Qt::black);
        const auto& columns = m_definition.columns;
        for (std::size_t c = 0; c < columns.size() && c < texts.size(); ++c) {
            drawCell(pxRect(m_columnX[c], y, m_columnWidth[c], height), texts[c],
                     columns[c].alignment, metrics, glyphs);
        }
        // The row's cells as one glyph run.
        flush(glyphs);
        return y + height;
    }

    double drawEmptyNote(double y) {
        QFont note = m_body;
        note.setItalic(true);
        m_painter.setFont(note);
        m_painter.setPen(reportStyle::kMutedText);
        m_painter.drawText(pxRect(0, y, m_page.width(), m_heights.row), Qt::AlignCenter,
                           expand(m_definition.emptyText));
        m_painter.setPen(QPen(reportStyle::kRowRule, px(0.5)));
        const QRectF row = pxRect(0, y, m_page.width(), m_heights.row);
        m_painter.drawLine(row.bottomLeft(), row.bottomRight());
        return y + m_heights.row;
    }

    // The totals row: the label fills the cells before the first totalled column.
    void drawTotals(double y) {
        if (m_definition.totalledColumns.empty()) {
            return;
        }
        const QRectF row = pxRect(0, y, m_page.width(), m_heights.row);
        m_painter.fillRect(row, reportStyle::kTotalsShade);
        m_painter.setPen(QPen(reportStyle::kStrongRule, px(1.2)));
        m_painter.drawLine(row.topLeft(), row.topRight());
        m_painter.drawLine(row.bottomLeft(), row.bottomRight());
        m_painter.setFont(m_bold);
        m_painter.setPen(Qt::black);
        const auto first = m_definition.totalledColumns.front();
        if (first > 0) {
            drawCell(pxRect(0, y, m_columnX[first], m_heights.row),
                     expanded(m_definition.totalsLabel), CellAlignment::Left, m_boldMetrics,
                     *m_fonts.boldGlyphs);
        }
        const auto& totals = m_content.table.totals;
        for (std::size_t c = first; c < totals.size(); ++c) {
            if (totals[c]) {
                drawCell(pxRect(m_columnX[c], y, m_columnWidth[c], m_heights.row), *totals[c],
                         m_definition.columns[c].alignment, m_boldMetrics, *m_fonts.boldGlyphs);
            }
        }
        flush(*m_fonts.boldGlyphs);
        if (m_heights.totalsNote > 0) {
            QFont note = font(m_definition.fontSize * reportStyle::kNoteScale);
            note.setItalic(true);
            m_painter.setFont(note);
            m_painter.setPen(reportStyle::kMutedText);
            const double top = y + m_heights.row + reportStyle::kNoteGap;
            m_painter.drawText(
                pxRect(0, top, m_page.width(), m_heights.totalsNote - reportStyle::kNoteGap),
                Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, expand(m_definition.totalsNote));
        }
    }

    const ReportContent& m_content;
    const ReportDefinition& m_definition;
    const QSizeF m_page;
    const Heights m_heights;
    QPainter& m_painter;
    const PlaceholderValues& m_values;
    const double m_scale;
    PageFonts& m_fonts;
    const QFont& m_body;
    const QFont& m_bold;
    const QFontMetricsF& m_metrics;
    const QFontMetricsF& m_boldMetrics;
    // The glyphs of the cells drawn since the last flush(), and a row's texts.
    GlyphLine m_line;
    std::vector<std::string> m_texts;
    std::vector<double> m_columnX;
    std::vector<double> m_columnWidth;
};

}  // namespace

PlaceholderValues documentValues(const ReportContent& content) {
    PlaceholderValues values;
    if (const auto& calculation = content.calculation) {
        values["amount"] = calculation->amount;
        values["months"] = calculation->months;
        values["rate"] = calculation->rate;
        values["decimals"] = calculation->decimals;
        values["start"] = formatDayMonthYear(calculation->start);
        values["instalment"] = calculation->instalment;
        // The amounts once more as the report's money columns write them.
        const int decimals = chosenDecimals(calculation).value_or(0);
        for (const char* name : {"amount", "instalment"}) {
            const std::string& text = values[name];
            const auto number = parseNumber(text);
            values[std::string(name) + ":fixed"] =
                number ? formatFixed(*number, decimals, false) : text;
            values[std::string(name) + ":grouped"] =
                number ? formatFixed(*number, decimals, true) : text;
        }
    }
    values["total-interest"] = content.table.summary.totalInterest;
    values["total-payable"] = content.table.summary.totalPayable;
    values["last-due"] = content.table.summary.lastDue;
    values["today"] = formatDayMonthYear(today());
    values["rows"] = std::to_string(content.table.rows.size());
    values["title"] = expandTemplate(content.definition.title, values);
    return values;
}

QPageLayout reportPageLayout(const ReportDefinition& definition) {
    const double margin = definition.marginMillimetres;
    return QPageLayout(QPageSize(pageSizeId(definition.paper)),
                       definition.landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(margin, margin, margin, margin), QPageLayout::Millimeter);
}

ReportPages::ReportPages(const ReportContent& content, const QPageLayout& layout)
    : m_content(content),
      m_layout(layout),
      m_pageSize(layout.paintRect(QPageLayout::Point).size()),
      m_values(documentValues(content)) {
    const Heights heights(content, m_pageSize);
    m_pages = paginate(heights.table, static_cast<int>(content.table.rows.size()),
                       !content.definition.totalledColumns.empty(),
                       !content.definition.emptyText.empty());
    m_values["pages"] = std::to_string(m_pages.size());
}

void ReportPages::drawPage(QPainter& painter, int page) const {
    PlaceholderValues values = m_values;
    values["page"] = std::to_string(page + 1);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const QPaintDevice& device = *painter.device();
    if (!m_fonts || !m_fonts->madeFor(device)) {
        m_fonts = std::make_shared<PageFonts>(m_content.definition, device);
    }
    PageDrawer(m_content, m_pageSize, painter, values, *m_fonts)
        .draw(m_pages.at(static_cast<std::size_t>(page)), page);
}

QSize ReportPages::paperPixels(double dotsPerInch) const {
    const QSizeF points = m_layout.fullRect(QPageLayout::Point).size();
    const double perPoint = dotsPerInch / 72.0;
    return {static_cast<int>(std::lround(points.width() * perPoint)),
            static_cast<int>(std::lround(points.height() * perPoint))};
}

QImage ReportPages::pageImage(int page, double dotsPerInch) const {
    QImage image(paperPixels(dotsPerInch), QImage::Format_RGB32);
    const auto dotsPerMetre = static_cast<int>(std::lround(dotsPerInch / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter painter(&image);
    // The printable area starts inside the margins.
    painter.translate(m_layout.paintRect(QPageLayout::Point).topLeft() * (dotsPerInch / 72.0));
    drawPage(painter, page);
    return image;
}

}  // namespace quillet
