#include <gtest/gtest.h>

#include <string>

#include "report/ReportPagination.h"

namespace quillet::testing {
namespace {

// Pages of 100 points with rows of 5: a continued page holds 19 rows below its heading, the
// first page 9 below a top block of 50.
constexpr ReportHeights kHeights{100, 50, 5, 5, 5, 5};

std::string shape(const std::vector<ReportPage>& pages) {
    std::string text;
    for (const ReportPage& page : pages) {
        text +=
            (text.empty() ? "" : " ") + std::to_string(page.rowCount) + (page.totals ? "+T" : "");
    }
    return text;
}

TEST(ReportPagination, MovesRowsOnSoNoPageHasFewerThanThreeOrLoneTotals) {
    EXPECT_EQ(shape(paginate(kHeights, 8, true, false)), "8+T");
    // 9 rows fill the first page but leave no room for the totals: three go over with them.
    EXPECT_EQ(shape(paginate(kHeights, 9, true, false)), "6 3+T");
    // One row over the first page: not alone, and not with the totals alone either.
    EXPECT_EQ(shape(paginate(kHeights, 10, true, false)), "7 3+T");
    EXPECT_EQ(shape(paginate(kHeights, 10, false, false)), "7 3");
    EXPECT_EQ(shape(paginate(kHeights, 29, true, false)), "9 17 3+T");
    // Exactly three rows after a full page may stay: nothing is moved for them.
    EXPECT_EQ(shape(paginate(kHeights, 31, true, false)), "9 19 3+T");
    // A first page with room for two rows only shows its top block.
    EXPECT_EQ(shape(paginate({100, 85, 5, 5, 5, 5}, 4, true, false)), "0 4+T");
    EXPECT_EQ(shape(paginate(kHeights, 0, true, true)), "0+T");

    for (int rows = 1; rows <= 80; ++rows) {
        SCOPED_TRACE(rows);
        const auto pages = paginate(kHeights, rows, true, false);
        int next = 0;
        for (const ReportPage& page : pages) {
            EXPECT_EQ(page.firstRow, next);
            EXPECT_GE(page.rowCount, std::min(rows, kFewestRowsOnAPage));
            const double used = (page.firstRow == 0 ? kHeights.firstPageTop : 0) +
                                kHeights.headingRow + page.rowCount * kHeights.row +
                                (page.totals ? kHeights.totalsRow : 0);
            EXPECT_LE(used, kHeights.body);
            next += page.rowCount;
        }
        EXPECT_EQ(next, rows);
        EXPECT_TRUE(pages.back().totals);
    }
}

}  // namespace
}  // namespace quillet::testing
