#include "gui/ReportMenu.h"

#include <QAbstractItemView>
#include <QAction>
#include <QKeySequence>
#include <QString>

#include "adapters/BusyCursor.h"
#include "gui/ExportDialogs.h"
#include "gui/ReportControl.h"

namespace quillet {

namespace {

const ExportKind& pdfExport() {
    static const ExportKind kind{QStringLiteral("Export PDF"), QStringLiteral("pdf"),
                                 QStringLiteral("PDF files (*.pdf)")};
    return kind;
}

const ExportKind& csvExport() {
    static const ExportKind kind{QStringLiteral("Export CSV"), QStringLiteral("csv"),
                                 QStringLiteral("CSV files (*.csv)")};
    return kind;
}

/// An export entry: ask for the file, write it through the control, say where it went.
QAction* exportAction(QWidget* window, QAbstractItemView* grid, ReportControl& control,
                      const char* text, const QKeySequence& shortcut, const ExportKind& kind,
                      bool (ReportControl::*write)(const std::filesystem::path&)) {
    auto* action = new QAction(QString::fromLatin1(text), grid);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    QObject::connect(action, &QAction::triggered, window, [window, &control, &kind, write] {
        const auto file = askExportFile(window, kind, control.calculation());
        if (file.empty()) {
            return;
        }
        bool written = false;
        {
            // A long schedule takes a few seconds to write.
            const BusyCursor writing;
            written = (control.*write)(file);
        }
        if (written) {
            announceExport(kind, file);
        }
    });
    return action;
}

}  // namespace

void ReportActions::followReport(const ReportControl& control) const {
    for (QAction* action : {exportPdf, exportCsv}) {
        if (action != nullptr) {
            action->setEnabled(control.isPrepared());
        }
    }
}

ReportActions installReportActions(QWidget* window, QAbstractItemView* grid,
                                   ReportControl& control) {
    ReportActions actions;
    actions.preview = new QAction(QString::fromLatin1(kPrintPreviewText), grid);
    actions.preview->setShortcut(QKeySequence::Print);
    // The shortcut belongs to the whole window, whichever control has the focus.
    actions.preview->setShortcutContext(Qt::WindowShortcut);
    actions.preview->setShortcutVisibleInContextMenu(true);
    QObject::connect(actions.preview, &QAction::triggered, window,
                     [window, &control] { control.printPreview(window); });

    actions.exportPdf =
        exportAction(window, grid, control, kExportPdfText, QKeySequence(kExportPdfShortcut),
                     pdfExport(), &ReportControl::exportPdf);
    actions.exportCsv =
        exportAction(window, grid, control, kExportCsvText, QKeySequence(kExportCsvShortcut),
                     csvExport(), &ReportControl::exportCsv);
    actions.followReport(control);

    grid->addActions({actions.preview, actions.exportPdf, actions.exportCsv});
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    // The window holds the actions too, so their shortcuts work wherever the focus is even
    // while the grid is hidden or disabled.
    window->addActions({actions.preview, actions.exportPdf, actions.exportCsv});
    return actions;
}

}  // namespace quillet
