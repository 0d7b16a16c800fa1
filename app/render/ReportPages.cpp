// The report drawn page after page on a printer or into a PDF file.
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "render/ScheduleReport.h"

namespace quillet {

int renderReport(const ReportContent& content, QPagedPaintDevice& device) {
    const ReportPages pages(content, device.pageLayout());
    QPainter painter;
    if (!painter.begin(&device)) {
        return 0;
    }
    for (int page = 0; page < pages.pageCount(); ++page) {
        if (page > 0 && !device.newPage()) {
            return 0;
        }
        pages.drawPage(painter, page);
    }
    return painter.end() ? pages.pageCount() : 0;
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
