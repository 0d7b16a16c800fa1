// The pages of the report: the laid-out document cut into page bodies, framed by the page
// header and footer of the definition.
#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextDocument>

#include "report/ReportStyle.h"
#include "report/ScheduleReport.h"

namespace quillet {

namespace {

/// The geometry of one page in device pixels: header band, body, footer band.
struct PageFrame {
    QRectF header;
    QRectF body;
    QRectF footer;
};

PageFrame pageFrame(const ReportDefinition& definition, const QPaintDevice& device,
                    const QFont& bandFont) {
    const QRectF page(0, 0, device.width(), device.height());
    const double bandHeight = QFontMetricsF(bandFont, &device).height();
    const double gap = reportStyle::pixels(device, 8);
    PageFrame frame;
    frame.body = page;
    if (!definition.pageHeader.empty()) {
        frame.header = QRectF(page.left(), page.top(), page.width(), bandHeight);
        frame.body.setTop(frame.header.bottom() + gap);
    }
    if (!definition.pageFooter.empty()) {
        frame.footer = QRectF(page.left(), page.bottom() - bandHeight, page.width(), bandHeight);
        frame.body.setBottom(frame.footer.top() - gap);
    }
    return frame;
}

/// Draws one band's three parts and its rule (below a header, above a footer).
void drawBand(QPainter& painter, const PageBand& band, const QRectF& area, bool isHeader,
              const PlaceholderValues& values, double ruleOffset) {
    if (band.empty()) {
        return;
    }
    painter.setPen(reportStyle::kMutedText);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(expandTemplate(band.left, values)));
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter,
                     QString::fromStdString(expandTemplate(band.center, values)));
    painter.drawText(area, Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(expandTemplate(band.right, values)));
    const double y = isHeader ? area.bottom() + ruleOffset : area.top() - ruleOffset;
    painter.setPen(QPen(reportStyle::kRule, 0));
    painter.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
}

}  // namespace

int renderReport(const ReportContent& content, QPagedPaintDevice& device) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    const ReportDefinition& definition = content.definition;
    const QFont bandFont(
        reportStyle::font(definition, definition.fontSize * reportStyle::kBandScale), &device);
    const PageFrame frame = pageFrame(definition, device, bandFont);
    const auto document = buildReportDocument(content, device, frame.body.size());
    const int pages = document->pageCount();
    const double ruleOffset = reportStyle::pixels(device, 3);

    PlaceholderValues values = documentValues(content);
    values["pages"] = std::to_string(pages);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, Qt::black);
    for (int page = 0; page < pages; ++page) {
        if (page > 0 && !device.newPage()) {
            return 0;
        }
        values["page"] = std::to_string(page + 1);
        painter.setFont(bandFont);
        drawBand(painter, definition.pageHeader, frame.header, true, values, ruleOffset);
        drawBand(painter, definition.pageFooter, frame.footer, false, values, ruleOffset);

        painter.save();
        const double pageTop = page * frame.body.height();
        painter.translate(frame.body.left(), frame.body.top() - pageTop);
        context.clip = QRectF(0, pageTop, frame.body.width(), frame.body.height());
        painter.setClipRect(context.clip);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end() ? pages : 0;
}

bool writeReportPdf(const ReportContent& content, const std::filesystem::path& file,
                    std::string& error) {
    // Written beside the target and moved into place at the end, so a failure never leaves a
    // truncated PDF where a good one was.
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) {
        error = "Cannot write \"" + file.string() + "\": " + out.errorString().toStdString();
        return false;
    }
    int pages = 0;
    {
        QPdfWriter writer(&out);
        writer.setPageLayout(reportPageLayout(content.definition));
        writer.setResolution(600);
        writer.setCreator(QStringLiteral("Quillet"));
        writer.setTitle(QString::fromStdString(
            expandTemplate(content.definition.title, documentValues(content))));
        pages = renderReport(content, writer);
    }
    if (pages == 0) {
        out.cancelWriting();
        error = "Cannot draw the report into \"" + file.string() + "\"";
        return false;
    }
    if (!out.commit()) {
        error = "Cannot write \"" + file.string() + "\": " + out.errorString().toStdString();
        return false;
    }
    return true;
}

}  // namespace quillet
