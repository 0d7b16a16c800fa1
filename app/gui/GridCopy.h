#pragma once
// Copying from the schedule grid into a spreadsheet.

class QAction;
class QString;
class QTableView;

namespace quillet {

/// Text of the grid's copy entry.
inline constexpr const char* kCopyRowsText = "Copy";

/// \brief Gives grid a "Copy" entry at the top of its context menu and Ctrl+C while it has the
/// focus: both put the rows that hold a selected cell (every row after Ctrl+A; the current row
/// when nothing is selected) on the clipboard as tab-separated lines under the headings. The grid
/// must show a RecordsetModel; with none, nothing is copied.
/// Returns the entry (owned by grid), for other menus to offer too.
QAction* installRowCopy(QTableView& grid);

/// The text installRowCopy puts on the clipboard for grid's present selection; empty when there
/// is no row to copy.
QString selectedRowsText(const QTableView& grid);

}  // namespace quillet
