#pragma once
// The report's entries on the window: the grid's context menu and Ctrl+P.

class QAbstractItemView;
class QWidget;

namespace quillet {

class ReportControl;

/// Texts of the grid's context-menu entries.
inline constexpr const char* kPrintPreviewText = "Print Preview...";
inline constexpr const char* kExportPdfText = "Export PDF...";
inline constexpr const char* kExportCsvText = "Export CSV...";

/// \brief Gives grid a context menu with "Print Preview...", "Export PDF..." and "Export CSV..."
/// (the exports ask for a file first), and window the shortcut Ctrl+P for the print preview.
/// The window's layout is left as it is. control must outlive window.
void installReportActions(QWidget* window, QAbstractItemView* grid, ReportControl& control);

}  // namespace quillet
