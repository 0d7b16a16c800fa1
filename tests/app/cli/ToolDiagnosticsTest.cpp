// What quillet-schedule says about inputs the window's checks let through: the failing option
// named with its value, and warnings for inputs that compute less than a whole schedule.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/ToolProcess.h"
#include "app/cli/ToolRun.h"
#include "cli/ScheduleTool.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

TEST(ToolDiagnostics, AFailingComputationNamesTheOptionAndTheValueGiven) {
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--decimals", "x"}, "quillet-schedule: --decimals \"x\": Type mismatch (not a number)\n"},
        {{"--decimals", "-3"},
         "quillet-schedule: --decimals \"-3\": Invalid procedure call or argument (below 0)\n"},
        {{"--decimals", "40000"},
         "quillet-schedule: --decimals \"40000\": Overflow (outside -32768 to 32767 decimals)\n"},
        {{"--start", "9999-12-01"},
         "quillet-schedule: --start \"9999-12-01\": Invalid procedure call or argument (the "
         "instalments would run past the year 9999)\n"},
        {{"--months", "-40000"},
         "quillet-schedule: --months \"-40000\": Overflow (outside -32768 to 32767 months)\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, c.message);
    }
    // A start whose last instalment still falls in 9999 is fine: only the one after is not.
    EXPECT_EQ(runTool({"--start", "9999-01-01", "--months", "12", "--emi"}).status, 0);
    EXPECT_EQ(runTool({"--start", "9999-01-01", "--months", "13", "--emi"}).status, 2);
}

TEST(ToolDiagnostics, AStoredRunNamesTheOptionItFailedOnOnce) {
    testing::TempStore store;
    const ToolRun run = runTool({"--store", "--decimals", "x"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "quillet-schedule: --decimals \"x\": Type mismatch (not a number)\n");
}

TEST(ToolDiagnostics, TheWindowsCheckMessagesStayAsTheWindowShowsThem) {
    const ToolRun run = runTool({"--amount", "ten"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "Please enter Amount in Numeric\n");
}

TEST(ToolDiagnostics, NoMonthOrAFractionalMonthCountIsWarnedAboutAndStillPrinted) {
    const ToolRun none = runTool({"--months", "0"});
    EXPECT_EQ(none.status, 0);
    EXPECT_EQ(none.out, "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n");
    EXPECT_EQ(none.err,
              "quillet-schedule: warning: --months \"0\": no month is computed, the schedule is "
              "empty and the instalment 0\n");
    EXPECT_NE(runTool({"--months", "0.4", "--emi"}).err.find("no month is computed"),
              std::string::npos);

    const ToolRun fraction = runTool({"--months", "12.5", "--emi"});
    EXPECT_EQ(fraction.status, 0);
    EXPECT_EQ(fraction.err,
              "quillet-schedule: warning: --months \"12.5\" is not a whole number of months: 12 "
              "months are computed (halves to even) and the last closing balance is not 0\n");
    EXPECT_NE(runTool({"--months", "13.5", "--emi"}).err.find(": 14 months are computed"),
              std::string::npos);
    // Whole counts, written any way, are no cause for a warning.
    for (const char* whole : {"12", "12.0", "1.2e1", " 12 "}) {
        EXPECT_EQ(runTool({"--months", whole, "--emi"}).err, "") << whole;
    }
}

TEST(ToolDiagnostics, AReportRunWithoutARuntimeFolderWritesNothingToStderr) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const std::string pdf = home.filePath(QStringLiteral("r.pdf")).toStdString();
    // The child gets no XDG_RUNTIME_DIR, as under a bare login or a service.
    const testing::ProcessRun run = testing::runToolProcess(
        {"--months", "24", "--pdf", pdf}, {home.path().toStdString(), std::nullopt, {}});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
}

}  // namespace
}  // namespace quillet::testing
