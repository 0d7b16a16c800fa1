#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/ScheduleTool.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet {
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runScheduleTool(args, out, err);
    return {status, out.str(), err.str()};
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        result.push_back(line);
    }
    return result;
}

TEST(ScheduleTool, PrintsTheStartUpScheduleAsCsvOrOnlyItsInstalment) {
    const ToolRun run = runTool({"--decimals", "2"});
    EXPECT_EQ(run.status, 0);
    const auto rows = lines(run.out);
    ASSERT_EQ(rows.size(), 121u);
    EXPECT_EQ(rows[0], "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate");
    EXPECT_EQ(rows[1], "1,1000000,5000,6102.05,993897.95,01/Jan/2024");
    EXPECT_TRUE(run.err.empty());
    // --emi prints only the instalment.
    EXPECT_EQ(runTool({"--emi"}).out, "11102\n");
    EXPECT_EQ(runTool({"--emi", "--decimals", "2"}).out, "11102.05\n");
    EXPECT_EQ(runTool({"--emi", "--months", "0"}).out, "0\n");
}

TEST(ScheduleTool, StartDateMonthsAndValuesWithALeadingMinus) {
    const auto rows = lines(runTool({"--start", "2024-01-31", "--months", "4"}).out);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_TRUE(rows[2].ends_with(",29/Feb/2024"));
    EXPECT_EQ(lines(runTool({"--months", "12.5"}).out).size(), 13u);
    const ToolRun run = runTool({"--months", "-5"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out).size(), 1u);  // the header alone
}

TEST(ScheduleTool, ReportsEachTextThatIsNotANumberInTheOrderTheyAreChecked) {
    const ToolRun run = runTool({"--rate", "six", "--amount", "", "--months", "1,000"});
    EXPECT_EQ(run.status, kToolFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "Please enter Amount in Numeric\nPlease enter Duration in Numeric\n"
              "Please enter Interest Rate in Numeric\n");
}

TEST(ScheduleTool, OtherFailuresPrintTheirDescriptionAndNothingElse) {
    const ToolRun run = runTool({"--months", "40000"});
    EXPECT_EQ(run.status, kToolFailure);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Overflow\n");
}

TEST(ScheduleTool, RejectsAMalformedCommandLine) {
    EXPECT_EQ(runTool({"--amount"}).status, kToolFailure);
    EXPECT_EQ(runTool({"--colour", "red"}).status, kToolFailure);
    EXPECT_EQ(runTool({"--start", "01/01/2024"}).status, kToolFailure);
    const ToolRun help = runTool({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--amount TEXT"), std::string::npos);
}

TEST(ScheduleToolWithStore, RewritesTheStoredScheduleAndStillPrintsIt) {
    testing::TempStore store;
    const ToolRun run = runTool({"--store", "--months", "12", "--decimals", "2"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(lines(run.out).size(), 13u);
    EXPECT_EQ(testing::countRows("EMI"), 12);
    EXPECT_EQ(testing::rows("select Principal from EMI where SN = 1")[0][0], "81066.43");
    EXPECT_TRUE(store.shown().empty());
}

TEST(ScheduleToolWithStore, AnUnusableStoreIsReportedWithTheScheduleStillPrinted) {
    testing::TempStore store;
    std::ofstream(store.folder() / "quillet") << "not a folder";
    const ToolRun run = runTool({"--store", "--months", "3"});
    EXPECT_EQ(run.status, kToolFailure);
    EXPECT_EQ(lines(run.out).size(), 4u);
    ASSERT_FALSE(store.shown().empty());
    EXPECT_EQ(store.shown()[0].title, "Select database");
}

TEST(ScheduleToolWithStore, WritesTheReportOfItsOwnRunAndStoresOnlyWithStore) {
    testing::TempStore store;
    ASSERT_EQ(runTool({"--store", "--months", "24"}).status, 0);
    const auto csv = store.folder() / "schedule.csv";
    const auto pdf = store.folder() / "schedule.pdf";
    const ToolRun run = runTool({"--months", "12", "--csv", csv.string(), "--pdf", pdf.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(testing::countRows("EMI"), 24);  // the store keeps the earlier run
    std::ifstream in(csv);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, run.out);  // the report's CSV is the tool's own
    EXPECT_EQ(lines(text).size(), 13u);
    EXPECT_GT(std::filesystem::file_size(pdf), 1000u);
}

}  // namespace
}  // namespace quillet
