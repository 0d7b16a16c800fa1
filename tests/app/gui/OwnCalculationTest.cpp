// A report prints the rows of its own calculation: another window (or quillet-schedule) may
// rewrite the stored table between the calculation and the report.
#include <gtest/gtest.h>

#include "gui/Form1.h"
#include "report/ReportCsv.h"
#include "support/ReportFixture.h"

namespace quillet::testing {
namespace {

TEST_F(ReportTest, AWindowsReportShowsItsOwnRowsAfterAnotherWindowRewroteTheTable) {
    Form1 first;
    Form1 second;
    first.txtAmount()->setText("250000");
    first.txtDuration()->setText("36");
    first.txtrate()->setText("7.5");
    first.btnShowPayment_Click();
    second.btnShowPayment_Click();  // the start-up loan: 120 rows now in the table
    ASSERT_EQ(countRows("EMI"), 120);

    ScheduleInputs own;
    own.amount = "250000";
    own.months = "36";
    own.rate = "7.5";
    std::string instalment;
    ASSERT_TRUE(first.CR.exportCsv(file("first.csv")));
    EXPECT_EQ(readText(file("first.csv")), reportCsv(computedSchedule(own, instalment)));
    ASSERT_TRUE(first.CR.exportPdf(file("first.pdf")));
    EXPECT_TRUE(store.shown().empty());
    if (havePdfToText()) {
        const auto pages = pdfPages(file("first.pdf"));
        EXPECT_NE(pages.back().find("Total (36 instalments)"), std::string::npos) << pages.back();
        EXPECT_NE(pages.back().find("Loan of 250,000 at 7.5% for 36 months"), std::string::npos);
    }
}

}  // namespace
}  // namespace quillet::testing
