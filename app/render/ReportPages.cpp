// The report drawn page after page on a printer or into a PDF file.
#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include "engine/StoreFiles.h"
#include "files/OutputFile.h"
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
    try {
        // Never over the store's own files; never through a link planted at either name.
        OutputFile out(file, OutputAccess::Shared, storeOwnFiles());
        QFile device;
        if (!device.open(out.descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            error = "Cannot write \"" + file.string() + "\": " + device.errorString().toStdString();
            return false;
        }
        int pages = 0;
        {
            QPdfWriter writer(&device);
            writer.setPageLayout(reportPageLayout(content.definition));
            writer.setResolution(600);
            writer.setCreator(QStringLiteral("Quillet"));
            writer.setTitle(QString::fromStdString(
                expandTemplate(content.definition.title, documentValues(content))));
            pages = renderReport(content, writer);
        }
        if (pages == 0) {
            error = "Cannot draw the report into \"" + file.string() + "\"";
            return false;
        }
        if (!device.flush() || device.error() != QFileDevice::NoError) {
            error = "Cannot write \"" + file.string() + "\": " + device.errorString().toStdString();
            return false;
        }
        device.close();
        out.commit();
    } catch (const OutputFileError& failure) {
        error = failure.what();
        return false;
    }
    return true;
}

}  // namespace quillet
