#include "report/ReportMenu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QKeySequence>
#include <QStandardPaths>

#include "report/ReportControl.h"

namespace quillet {

namespace {

/// Asks where to save; an empty path when the user cancels. The suffix is added when missing.
std::filesystem::path askForFile(QWidget* window, const QString& caption, const QString& suffix,
                                 const QString& filter) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) {
        folder = QDir::homePath();
    }
    QString chosen = QFileDialog::getSaveFileName(
        window, caption, QDir(folder).filePath(QStringLiteral("EMI.") + suffix), filter);
    if (chosen.isEmpty()) {
        return {};
    }
    if (!chosen.endsWith(QLatin1Char('.') + suffix, Qt::CaseInsensitive)) {
        chosen += QLatin1Char('.') + suffix;
    }
    return std::filesystem::path(chosen.toStdString());
}

}  // namespace

void installReportActions(QWidget* window, QAbstractItemView* grid, ReportControl& control) {
    auto* preview = new QAction(QString::fromLatin1(kPrintPreviewText), grid);
    preview->setShortcut(QKeySequence::Print);
    // The shortcut belongs to the whole window, whichever control has the focus.
    preview->setShortcutContext(Qt::WindowShortcut);
    preview->setShortcutVisibleInContextMenu(true);
    QObject::connect(preview, &QAction::triggered, window,
                     [window, &control] { control.printPreview(window); });

    auto* pdf = new QAction(QString::fromLatin1(kExportPdfText), grid);
    QObject::connect(pdf, &QAction::triggered, window, [window, &control] {
        const auto file = askForFile(window, QStringLiteral("Export PDF"), QStringLiteral("pdf"),
                                     QStringLiteral("PDF files (*.pdf)"));
        if (!file.empty()) {
            control.exportPdf(file);
        }
    });

    auto* csv = new QAction(QString::fromLatin1(kExportCsvText), grid);
    QObject::connect(csv, &QAction::triggered, window, [window, &control] {
        const auto file = askForFile(window, QStringLiteral("Export CSV"), QStringLiteral("csv"),
                                     QStringLiteral("CSV files (*.csv)"));
        if (!file.empty()) {
            control.exportCsv(file);
        }
    });

    grid->addActions({preview, pdf, csv});
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The window holds the preview action too, so Ctrl+P works wherever the focus is even
    // while the grid is hidden or disabled.
    window->addAction(preview);
}

}  // namespace quillet
