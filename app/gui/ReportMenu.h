#pragma once
// The report's entries on the window: the grid's context menu and Ctrl+P.

class QAbstractItemView;
class QAction;
class QWidget;

namespace quillet {

class ReportControl;

/// Texts of the grid's context-menu entries.
inline constexpr const char* kPrintPreviewText = "Print Preview...";
inline constexpr const char* kExportPdfText = "Export PDF...";
inline constexpr const char* kExportCsvText = "Export CSV...";
/// Their shortcuts, shown in the menu and in the grid's tool-tip (Ctrl+P is the preview's).
inline constexpr const char* kExportPdfShortcut = "Ctrl+E";
inline constexpr const char* kExportCsvShortcut = "Ctrl+Shift+E";

/// \brief The report's actions, owned by the grid.
struct ReportActions {
    QAction* preview = nullptr;
    QAction* exportPdf = nullptr;
    QAction* exportCsv = nullptr;

    /// The exports are offered only while control holds a prepared schedule report; the window
    /// calls this after each calculation. The preview stays offered: it explains itself.
    void followReport(const ReportControl& control) const;
};

/// \brief Gives grid a context menu with "Print Preview...", "Export PDF..." and "Export CSV..."
/// (the exports ask for a file first and say where it went), and window their shortcuts: Ctrl+P
/// for the print preview, Ctrl+E and Ctrl+Shift+E for the exports. The exports start disabled
/// unless control is prepared already. The window's layout is left as it is. control must outlive
/// window.
ReportActions installReportActions(QWidget* window, QAbstractItemView* grid,
                                   ReportControl& control);

}  // namespace quillet
