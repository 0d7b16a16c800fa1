#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include "gui/Form1.h"
#include "gui/ReportControl.h"
#include "gui/ReportMenu.h"
#include "gui/ReportPreview.h"
#include "report/ReportCsv.h"
#include "support/ErrorNumber.h"
#include "support/ReportFixture.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;

class ReportControlTest : public ReportTest {
protected:
    /// The calculation's inputs, then the five calls of the schedule run, in its order, then
    /// the rows of the calculation as the grid loads them.
    void prepare(const std::filesystem::path& reportFile, const ScheduleInputs& inputs = {}) {
        std::string instalment;
        StoredSchedule schedule = computedSchedule(inputs, instalment);
        ReportCalculation calculation = calculationOf(inputs);
        calculation.instalment = instalment;
        control.setCalculation(calculation);
        control.invoke(112);
        control.setProperty(67, Variant(std::int16_t{2}));
        control.setProperty(34, Variant(true));
        control.setProperty(13, Variant(""));
        control.setProperty(3, Variant(reportFile.string()));
        control.setSchedule(std::move(schedule));
    }

    /// The one message shown since the last call, checked to be the only new one.
    std::string lastMessage() {
        EXPECT_EQ(store.shown().size(), ++m_seen);
        return store.shown().empty() ? "" : store.shown().back().prompt;
    }

    ReportControl control;
    std::size_t m_seen = 0;
};

TEST_F(ReportControlTest, IsPreparedByTheRunsCallsAndForgetsOn112OrClear) {
    const auto refused = [&] {
        EXPECT_FALSE(control.exportCsv(file("x.csv")));
        EXPECT_THAT(lastMessage(), HasSubstr("press Calculate"));
    };
    refused();  // before any calculation
    prepare(shippedDefinition());
    control.invoke(112);
    EXPECT_EQ(control.property(67), Variant(std::int16_t{0}));
    refused();
    prepare(shippedDefinition());
    control.clear();
    refused();
    EXPECT_FALSE(std::filesystem::exists(file("x.csv")));
}

TEST_F(ReportControlTest, RefusesUnknownMembersAndWrongValues) {
    EXPECT_EQ(errorNumberOf([&] { control.invoke(111); }), err::PropertyNotSupported);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(68, Variant(1.0)); }),
              err::PropertyNotSupported);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(67, Variant(3.0)); }), 380);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(34, Variant("yes")); }), err::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(3, Variant::null()); }),
              err::InvalidUseOfNull);
}

TEST_F(ReportControlTest, AMissingOrMalformedDefinitionIsExplainedWhenTheReportIsAskedFor) {
    const std::string report = "quillet-report 1\n[report]\ntitle = T\n";
    const std::vector<std::pair<std::string, std::string>> cases{
        {"", ": the file is empty"},
        {"[report]\ntitle = T\n", ", line 1: a report definition begins with the line"},
        {report + "[colums]\n", ", line 4: unknown section [colums]"},
        {report + "font-size = huge\n", ", line 4: \"font-size\" must be a number"},
        {"quillet-report 1\n[report]\ntitle = {amout}\n", ", line 3: unknown placeholder {amout}"},
        {report + "[columns]\nSN | No. | right | general\nFee | Fee | right | general\n",
         ", line 6: the EMI table has no column \"Fee\""},
        {report + "[columns]\n@7 | X | right | general\n",
         ", line 5: the column @7 does not exist: the EMI table has 6 columns"}};
    const auto broken = file("EMI.rpt");
    prepare(broken);  // setting the file alone never complains
    EXPECT_TRUE(store.shown().empty());
    EXPECT_FALSE(control.printPreview(nullptr));
    EXPECT_THAT(lastMessage(), HasSubstr("Report definition \"" + broken.string() +
                                         "\": the file does not exist"));
    for (const auto& [text, problem] : cases) {
        SCOPED_TRACE(text);
        writeText(broken, text);
        EXPECT_FALSE(control.exportPdf(file("x.pdf")));
        EXPECT_THAT(lastMessage(),
                    HasSubstr("Report definition \"" + broken.string() + "\"" + problem));
    }
    EXPECT_FALSE(std::filesystem::exists(file("x.pdf")));
    // The CSV is the tool's format: it needs no definition.
    EXPECT_TRUE(control.exportCsv(file("x.csv")));
}

TEST_F(ReportControlTest, ExportsTheRowsAndTheTitleAndReportsARefusedFile) {
    ScheduleInputs inputs;
    inputs.months = "2";
    const auto expected = storeSchedule(inputs);
    prepare(shippedDefinition(), inputs);
    control.setProperty(13, Variant("Home loan {A}"));  // braces are text, not placeholders
    ASSERT_TRUE(control.exportCsv(file("s.csv")));
    EXPECT_EQ(readText(file("s.csv")), csvOf(expected));
    ASSERT_TRUE(control.exportPdf(file("s.pdf")));
    EXPECT_TRUE(store.shown().empty());
    if (havePdfToText()) {
        EXPECT_THAT(pdfPages(file("s.pdf")).at(0), HasSubstr("Home loan {A}"));
    }
    // A file the writer refuses is reported (links and the store's files: OutputTargetTest).
    EXPECT_FALSE(control.exportCsv(store.folder() / "quillet" / "quillet.db"));
    EXPECT_THAT(lastMessage(), HasSubstr("the record store's own file"));
}

TEST_F(ReportControlTest, TheGridAndTheWindowShareTheActionsAndThePreviewDrawsPagesAsShown) {
    prepare(shippedDefinition());
    QWidget window;
    QTableView grid(&window);
    installReportActions(&window, &grid, control);
    EXPECT_EQ(grid.contextMenuPolicy(), Qt::ActionsContextMenu);
    // The window holds the same actions, so their shortcuts work wherever the focus is.
    ASSERT_EQ(window.actions(), grid.actions());
    ASSERT_EQ(window.actions().size(), 3);
    for (const QAction* action : window.actions()) {
        EXPECT_EQ(action->shortcutContext(), Qt::WindowShortcut);
    }
    int pages = -1;  // the preview is modal: read its page count and close it once it is up
    int drawn = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<ReportPreviewDialog*>(widget)) {
                QApplication::processEvents();  // let the first pages paint
                pages = dialog->pageCount();
                drawn = dialog->pagesDrawn();
                dialog->reject();
            }
        }
    });
    window.actions()[0]->trigger();
    EXPECT_GE(pages, 3);
    EXPECT_LT(drawn, pages);  // pages are drawn as they come into view, not all at once
    EXPECT_TRUE(store.shown().empty());
}

// A report prints the rows of its own calculation: another window (or quillet-schedule) may
// rewrite the stored table between the calculation and the report.
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
