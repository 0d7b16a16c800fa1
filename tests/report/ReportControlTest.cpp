#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QTableView>
#include <QTimer>
#include <QWidget>

#include <functional>

#include "ReportFixture.h"
#include "report/ReportControl.h"
#include "report/ReportMenu.h"
#include "runtime/RuntimeError.h"

namespace quillet::testing {
namespace {

int errorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RuntimeError& error) {
        return error.number();
    }
    return 0;
}

class ReportControlTest : public ReportTest {
protected:
    /// The five calls of the schedule run, in its order.
    void prepare(const std::filesystem::path& reportFile) {
        control.invoke(112);
        control.setProperty(67, Variant(std::int16_t{2}));
        control.setProperty(34, Variant(true));
        control.setProperty(13, Variant(""));
        control.setProperty(3, Variant(reportFile.string()));
    }

    ReportControl control;
};

TEST_F(ReportControlTest, TakesTheRunsCallsAndResetsOn112) {
    prepare(shippedDefinition());
    EXPECT_TRUE(control.isPrepared());
    EXPECT_EQ(control.property(67), Variant(std::int16_t{2}));
    EXPECT_EQ(control.property(3), Variant(shippedDefinition().string()));
    control.setProperty(13, Variant("My loan"));
    control.invoke(112);
    EXPECT_FALSE(control.isPrepared());
    EXPECT_EQ(control.property(67), Variant(std::int16_t{0}));
    EXPECT_EQ(control.property(13), Variant(""));
    EXPECT_EQ(control.property(34), Variant(true));
}

TEST_F(ReportControlTest, RefusesUnknownMembersAndWrongValues) {
    EXPECT_EQ(errorNumberOf([&] { control.invoke(111); }), err::PropertyNotSupported);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(68, Variant(1.0)); }),
              err::PropertyNotSupported);
    EXPECT_EQ(errorNumberOf([&] { control.property(4); }), err::PropertyNotSupported);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(67, Variant(3.0)); }), 380);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(67, Variant("max")); }), err::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(34, Variant("yes")); }), err::TypeMismatch);
    EXPECT_EQ(errorNumberOf([&] { control.setProperty(3, Variant::null()); }),
              err::InvalidUseOfNull);
}

TEST_F(ReportControlTest, AReportAskedForBeforeAnyCalculationIsExplained) {
    storeSchedule(ScheduleInputs{});
    EXPECT_FALSE(control.exportCsv(file("x.csv")));
    ASSERT_EQ(store.shown().size(), 1U);
    EXPECT_NE(store.shown()[0].prompt.find("press Calculate"), std::string::npos);
    EXPECT_EQ(store.shown()[0].title, "Quillet");
    EXPECT_FALSE(std::filesystem::exists(file("x.csv")));
}

TEST_F(ReportControlTest, AMissingDefinitionIsExplainedWhenTheReportIsAskedFor) {
    ScheduleInputs inputs;
    storeSchedule(inputs);
    const auto missing = file("EMI.rpt");
    control.setCalculation(calculationOf(inputs));
    prepare(missing);  // setting the file alone never complains
    EXPECT_TRUE(store.shown().empty());

    EXPECT_FALSE(control.exportPdf(file("x.pdf")));
    EXPECT_FALSE(control.printPreview(nullptr));
    ASSERT_EQ(store.shown().size(), 2U);
    for (const auto& shown : store.shown()) {
        EXPECT_NE(shown.prompt.find("Report definition \"" + missing.string() +
                                    "\": the file does not exist"),
                  std::string::npos)
            << shown.prompt;
        EXPECT_EQ(shown.buttons, vbOKOnly);
    }
    EXPECT_FALSE(std::filesystem::exists(file("x.pdf")));
}

TEST_F(ReportControlTest, AMalformedDefinitionIsExplainedWithItsLine) {
    storeSchedule(ScheduleInputs{});
    const auto broken = file("EMI.rpt");
    writeText(broken, "quillet-report 1\n[report]\ntitle = Schedule\nfont-size = huge\n");
    prepare(broken);
    EXPECT_FALSE(control.exportCsv(file("x.csv")));
    ASSERT_EQ(store.shown().size(), 1U);
    EXPECT_NE(store.shown()[0].prompt.find(", line 4: \"font-size\" must be a number"),
              std::string::npos)
        << store.shown()[0].prompt;
}

TEST_F(ReportControlTest, ExportsTheStoredScheduleAndATitleSetThroughTheControl) {
    ScheduleInputs inputs;
    inputs.months = "2";
    const auto expected = storeSchedule(inputs);
    control.setCalculation(calculationOf(inputs));
    prepare(shippedDefinition());
    control.setProperty(13, Variant("Home loan {A}"));

    ASSERT_TRUE(control.exportCsv(file("s.csv")));
    std::string want = "SN,EMIDate,OpeningBalance,Interest,Principal,ClosingBalance\n";
    for (const auto& row : expected) {
        const auto& t = row.texts;
        want += t[0] + "," + t[5] + "," + t[1] + "," + t[2] + "," + t[3] + "," + t[4] + "\n";
    }
    EXPECT_EQ(readText(file("s.csv")), want);
    ASSERT_TRUE(control.exportPdf(file("s.pdf")));
    EXPECT_TRUE(store.shown().empty());
    if (havePdfToText()) {
        const auto pages = pdfPages(file("s.pdf"));
        ASSERT_EQ(pages.size(), 1U);
        EXPECT_NE(pages[0].find("Home loan {A}"), std::string::npos) << pages[0];
    }
}

TEST_F(ReportControlTest, ClearForgetsThePreparedReport) {
    ScheduleInputs inputs;
    storeSchedule(inputs);
    control.setCalculation(calculationOf(inputs));
    prepare(shippedDefinition());
    control.clear();
    EXPECT_FALSE(control.exportCsv(file("x.csv")));
    ASSERT_EQ(store.shown().size(), 1U);
    EXPECT_NE(store.shown()[0].prompt.find("press Calculate"), std::string::npos);
}

/// Closes the preview once it is up, noting how many pages it laid out.
int previewPagesThenClose(ReportControl& control, QWidget* parent, bool& opened) {
    int pages = -1;
    opened = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget)) {
                if (auto* view = dialog->findChild<QPrintPreviewWidget*>()) {
                    view->updatePreview();
                    pages = view->pageCount();
                }
                dialog->reject();
            }
        }
    });
    opened = control.printPreview(parent);
    return pages;
}

TEST_F(ReportControlTest, ThePrintPreviewLaysOutThePages) {
    ScheduleInputs inputs;
    storeSchedule(inputs);
    control.setCalculation(calculationOf(inputs));
    prepare(shippedDefinition());
    bool opened = false;
    const int pages = previewPagesThenClose(control, nullptr, opened);
    EXPECT_TRUE(opened);
    EXPECT_GE(pages, 3);
    EXPECT_TRUE(store.shown().empty());
}

TEST_F(ReportControlTest, TheGridMenuAndCtrlPReachTheReport) {
    ScheduleInputs inputs;
    storeSchedule(inputs);
    control.setCalculation(calculationOf(inputs));
    prepare(shippedDefinition());
    QWidget window;
    QTableView grid(&window);
    installReportActions(&window, &grid, control);

    EXPECT_EQ(grid.contextMenuPolicy(), Qt::ActionsContextMenu);
    const auto actions = grid.actions();
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Print Preview...");
    EXPECT_EQ(actions[1]->text(), "Export PDF...");
    EXPECT_EQ(actions[2]->text(), "Export CSV...");
    QAction* preview = nullptr;
    for (QAction* action : window.actions()) {
        if (action->shortcut() == QKeySequence(QKeySequence::Print)) {
            preview = action;
        }
    }
    ASSERT_NE(preview, nullptr) << "Ctrl+P is not on the window";
    EXPECT_EQ(preview->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(preview->shortcutContext(), Qt::WindowShortcut);

    int pages = -1;
    QTimer::singleShot(0, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(widget)) {
                pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
                dialog->reject();
            }
        }
    });
    preview->trigger();
    EXPECT_GE(pages, 3);
}

}  // namespace
}  // namespace quillet::testing
