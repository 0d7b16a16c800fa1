#include "report/ReportPagination.h"

#include <algorithm>
#include <cmath>

namespace quillet {

std::vector<ReportPage> paginate(const ReportHeights& heights, int rows, bool totals,
                                 bool emptyNote) {
    std::vector<ReportPage> pages;
    const double totalsHeight = totals ? heights.totalsRow : 0;
    const int fewest = std::min(kFewestRowsOnAPage, rows);
    const auto room = [&](std::size_t page) {
        return heights.body - (page == 0 ? heights.firstPageTop : 0) - heights.headingRow;
    };
    if (rows == 0) {
        const double needed = (emptyNote ? heights.emptyNote : 0) + totalsHeight;
        if (room(0) < needed) {
            pages.push_back({});  // the top block alone; the table starts on the next page
        }
        pages.push_back({0, 0, true, totals, emptyNote});
        return pages;
    }
    int next = 0;
    while (next < rows || (totals && (pages.empty() || !pages.back().totals))) {
        const std::size_t index = pages.size();
        const double space = room(index);
        const int fit =
            heights.row > 0 ? static_cast<int>(std::floor(space / heights.row + 1e-9)) : rows;
        const int remaining = rows - next;
        ReportPage page;
        page.firstRow = next;
        int take = 0;
        if (remaining <= fit && remaining * heights.row + totalsHeight <= space + 1e-9) {
            take = remaining;
            page.totals = totals;
        } else if (remaining <= fit) {
            // The totals do not fit below the last rows: the last rows go over with them.
            take = remaining - fewest;
        } else {
            take = fit;
            if (remaining - take < fewest) {
                take = remaining - fewest;
            }
        }
        if (take < fewest && !page.totals) {
            // Too little room to open (or go on with) the table here.
            take = 0;
            if (index > 0) {
                // Even a whole page holds fewer rows than the rules ask: fill it anyway.
                take = std::max(1, std::min(fit, remaining));
            }
        }
        page.rowCount = take;
        page.heading = take > 0 || page.totals;
        next += take;
        pages.push_back(page);
        if (index > static_cast<std::size_t>(rows) + 2) {
            break;  // a page that holds nothing at all: never loop for ever
        }
    }
    return pages;
}

}  // namespace quillet
