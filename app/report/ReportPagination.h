#pragma once
// Where the pages of the schedule break, decided from heights alone before anything is drawn,
// so each page can then be drawn on its own: the report costs the same per row whatever its
// length, and a preview draws only the pages it shows.

#include <vector>

namespace quillet {

/// Heights in points: the page body and the blocks the report stacks in it.
struct ReportHeights {
    double body = 0;
    /// Titles, loan inputs and chart: the top of the first page.
    double firstPageTop = 0;
    double headingRow = 0;
    double row = 0;
    double totalsRow = 0;
    /// The note shown in place of rows when there are none.
    double emptyNote = 0;
};

/// What one page shows of the table.
struct ReportPage {
    int firstRow = 0;
    int rowCount = 0;
    /// The table's heading row (on every page that shows any part of the table).
    bool heading = false;
    bool totals = false;
    bool emptyNote = false;
};

/// The fewest table rows a page may show: a page never holds one or two rows alone.
inline constexpr int kFewestRowsOnAPage = 3;

/// \brief Cuts rows into pages. The first page starts below its top block. No page shows fewer
/// than kFewestRowsOnAPage rows (or all of them, when the table is shorter), and the totals
/// always follow rows on their page: rows are moved on to keep both rules. A first page with no
/// room for that many rows shows its top block only.
std::vector<ReportPage> paginate(const ReportHeights& heights, int rows, bool totals,
                                 bool emptyNote);

}  // namespace quillet
