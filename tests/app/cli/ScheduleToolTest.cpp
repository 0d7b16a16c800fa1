#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "support/InProcessTool.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        result.push_back(part);
    }
    return result;
}

TEST(ScheduleTool, PrintsTheScheduleAsCsvOrOnlyItsInstalmentForTheValuesGiven) {
    const auto rows = split(runTool({"--decimals", "2"}).out, '\n');
    ASSERT_EQ(rows.size(), 121u);  // the header (as the empty schedule below shows it) and 120
    EXPECT_EQ(rows[1], "1,1000000,5000,6102.05,993897.95,01/Jan/2024");

    // A value comes after an equals sign or as the next argument, even with a leading minus.
    EXPECT_EQ(runTool({"--emi", "--decimals=2"}).out, "11102.05\n");
    const auto leap = split(runTool({"--start=2024-01-31", "--months", "4"}).out, '\n');
    ASSERT_EQ(leap.size(), 5u);
    EXPECT_TRUE(leap[2].ends_with(",29/Feb/2024"));
    EXPECT_EQ(split(runTool({"--months", "-5"}).out, '\n').size(), 1u);  // the header alone
    // An empty value is a text like any other: it fails the amount's check.
    EXPECT_EQ(runTool({"--amount="}).err, "Please enter Amount in Numeric\n");
}

QJsonObject jsonOf(const ToolRun& run) {
    QJsonParseError error{};
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromStdString(run.out), &error);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(error.error, QJsonParseError::NoError) << run.out;
    return document.object();
}

TEST(ScheduleTool, JsonHoldsTheCsvFiguresAsNumbersAndItsDatesInIsoForm) {
    const std::vector<std::string> inputs = {"--amount", "300000",    "--rate",     "3.75",
                                             "--months", "13.5",      "--decimals", "1.5",
                                             "--start",  "2024-03-31"};
    const auto with = [&](std::vector<std::string> more) {
        more.insert(more.begin(), inputs.begin(), inputs.end());
        return runTool(more);
    };
    const ToolRun json = with({"--format", "json"});
    const QJsonObject document = jsonOf(json);
    EXPECT_EQ(document["inputs"].toObject(), (QJsonObject{{"amount", 300000},
                                                          {"months", 13.5},
                                                          {"rate", 3.75},
                                                          {"decimals", 1.5},
                                                          {"start", "2024-03-31"}}));
    ASSERT_TRUE(document["instalment"].isDouble());
    EXPECT_EQ(document["instalment"].toDouble(), std::stod(with({"--emi"}).out));

    // Every figure is the number the CSV writes; the dates are the CSV's days in ISO form.
    const auto csv = split(with({}).out, '\n');
    const auto header = split(csv[0], ',');
    const QJsonArray rows = document["rows"].toArray();
    ASSERT_EQ(rows.size(), 14);
    ASSERT_EQ(csv.size(), 15u);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const auto fields = split(csv[static_cast<std::size_t>(i) + 1], ',');
        const QJsonObject row = rows[i].toObject();
        ASSERT_EQ(row.size(), 6);
        for (std::size_t c = 0; c + 1 < header.size(); ++c) {
            const QJsonValue value = row[QString::fromStdString(header[c])];
            ASSERT_TRUE(value.isDouble()) << header[c];
            EXPECT_EQ(value.toDouble(), std::stod(fields[c])) << header[c];
        }
    }
    EXPECT_EQ(rows[1].toObject()["EMIDate"].toString(), "2024-04-30");
    // A figure keeps the general form the CSV writes (one decimal here, never 6102.0500000001).
    EXPECT_NE(json.out.find("\"Interest\": 937.5,"), std::string::npos) << json.out;

    // An empty schedule is still a document, with an empty row list.
    const QJsonObject empty = jsonOf(runTool({"--months", "0", "--format", "json"}));
    EXPECT_TRUE(empty["rows"].isArray() && empty["rows"].toArray().isEmpty());
    EXPECT_EQ(empty["instalment"].toDouble(-1), 0);
}

TEST(ScheduleTool, CheckMessagesStandAloneInTheWindowsOrder) {
    const ToolRun run = runTool({"--rate", "six", "--amount", "", "--months", "1,000"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err,
              "Please enter Amount in Numeric\nPlease enter Duration in Numeric\n"
              "Please enter Interest Rate in Numeric\n");
}

TEST(ScheduleTool, AMalformedCommandLineExits64WithNothingOnStdout) {
    std::vector<std::vector<std::string>> malformed = {{"--amount"},
                                                       {"--colour", "red"},
                                                       {"-"},
                                                       {"--format", "xml"},
                                                       {"--csv", "-", "--pdf", "-"}};
    // The first year the calendar knows is a year like any other; the one before is no date.
    for (const char* start :
         {"12-1-2024 ", "2024-1-05", "2023-02-29", "2024-01-01 ", "0099-12-31"}) {
        malformed.push_back({"--start", start});
    }
    for (const auto& args : malformed) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.status, 64) << args.back();
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.starts_with("quillet-schedule: ")) << run.err;
    }
    EXPECT_EQ(runTool({"--start", "2024-02-29", "--emi"}).status, 0);
    EXPECT_EQ(runTool({"--start", "0100-01-01", "--emi"}).status, 0);
}

TEST(ScheduleTool, AFailingComputationNamesTheOptionAndTheValueGiven) {
    const struct {
        std::string option, value, cause;
    } cases[] = {
        {"decimals", "x", "Type mismatch (not a number)"},
        {"decimals", "-3", "Invalid procedure call or argument (below 0)"},
        {"decimals", "40000", "Overflow (outside -32768 to 32767 decimals)"},
        {"start", "9999-12-01",
         "Invalid procedure call or argument (the instalments would run past the year 9999)"},
        {"months", "40000", "Overflow (outside -32768 to 32767 months)"},
        {"months", "-40000", "Overflow (outside -32768 to 32767 months)"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool({"--" + c.option, c.value});
        EXPECT_EQ(run.status, 2) << c.value;
        EXPECT_EQ(run.out, "") << c.value;
        EXPECT_EQ(run.err,
                  "quillet-schedule: --" + c.option + " \"" + c.value + "\": " + c.cause + "\n");
    }
    // A start whose last instalment still falls in 9999 is fine: only the one after is not.
    EXPECT_EQ(runTool({"--start", "9999-01-01", "--months", "12", "--emi"}).status, 0);
    EXPECT_EQ(runTool({"--start", "9999-01-01", "--months", "13", "--emi"}).status, 2);
}

TEST(ScheduleTool, NoMonthOrAFractionalMonthCountIsWarnedAboutAndStillPrinted) {
    const ToolRun none = runTool({"--months", "0"});
    EXPECT_EQ(none.out, "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n");
    EXPECT_EQ(none.err,
              "quillet-schedule: warning: --months \"0\": no month is computed, the schedule is "
              "empty and the instalment 0\n");
    EXPECT_NE(runTool({"--months", "0.4", "--emi"}).err.find("no month is computed"),
              std::string::npos);

    EXPECT_EQ(runTool({"--months", "12.5", "--emi"}).err,
              "quillet-schedule: warning: --months \"12.5\" is not a whole number of months: 12 "
              "months are computed (halves to even) and the last closing balance is not 0\n");
    EXPECT_NE(runTool({"--months", "13.5", "--emi"}).err.find(": 14 months are computed"),
              std::string::npos);
    // Whole counts, written any way, are no cause for a warning.
    for (const char* whole : {"12", "12.0", "1.2e1", " 12 "}) {
        EXPECT_EQ(runTool({"--months", whole, "--emi"}).err, "") << whole;
    }
}

TEST(ScheduleTool, HelpAndVersionExitZero) {
    EXPECT_EQ(runTool({"--help"}).status, 0);
    EXPECT_EQ(runTool({"-h"}).out, runTool({"--help"}).out);
    const ToolRun version = runTool({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_TRUE(version.out.starts_with("quillet-schedule ")) << version.out;
}

TEST(ScheduleToolWithStore, RewritesTheStoredScheduleAndAFailingInputEmptiesItAsCalculateDoes) {
    TempStore store;
    const ToolRun stored = runTool({"--store", "--months", "12", "--decimals", "2"});
    EXPECT_EQ(split(stored.out, '\n').size(), 13u);
    EXPECT_EQ(countRows("EMI"), 12);
    EXPECT_EQ(rows("select Principal from EMI where SN = 1")[0][0], "81066.43");
    const ToolRun run = runTool({"--store", "--amount", "abc"});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "Please enter Amount in Numeric\nquillet-schedule: Type mismatch\n");
    EXPECT_EQ(countRows("EMI"), 0);
    // A failing computation is named once, as without the store.
    ASSERT_EQ(runTool({"--store", "--months", "12"}).status, 0);
    const ToolRun rounding = runTool({"--store", "--decimals", "-1"});
    EXPECT_EQ(rounding.status, 2);
    EXPECT_EQ(
        rounding.err,
        "quillet-schedule: --decimals \"-1\": Invalid procedure call or argument (below 0)\n");
    EXPECT_EQ(countRows("EMI"), 0);
}

TEST(ScheduleToolWithStore, AnUnusableStoreExits1WithItsCauseAndNothingOnStdout) {
    TempStore store;
    std::ofstream(store.folder() / "quillet") << "not a folder";
    const ToolRun run = runTool({"--store", "--months", "3"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_TRUE(
        run.err.starts_with("quillet-schedule: Please select Database : remember.mdb and "
                            "restart Application\nquillet-schedule: "))
        << run.err;
    EXPECT_NE(
        run.err.find("The data folder '" + (store.folder() / "quillet").string() +
                     "' cannot be created"),
        std::string::npos);  // The maintenance commands open the same store and fail the same way.
    for (const char* command : {"--create-schema", "--which-store"}) {
        const ToolRun maintenance = runTool({command});
        EXPECT_EQ(maintenance.status, 1) << command;
        EXPECT_EQ(maintenance.out, "") << command;
        EXPECT_NE(maintenance.err.find("cannot be created"), std::string::npos) << maintenance.err;
    }
}

TEST(ScheduleToolWithStore, WritesTheReportOfItsOwnRunToFilesOrStdoutAndStoresOnlyWithStore) {
    TempStore store;
    ASSERT_EQ(runTool({"--store", "--months", "24"}).status, 0);
    const auto csv = store.folder() / "schedule.csv";
    const auto pdf = store.folder() / "schedule.pdf";
    const ToolRun run = runTool({"--months", "12", "--csv", csv.string(), "--pdf", pdf.string()});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(countRows("EMI"), 24);  // the store keeps the earlier run
    const std::string text = contents(csv);
    EXPECT_EQ(split(text, '\n').size(), 13u);
    EXPECT_TRUE(contents(pdf).starts_with("%PDF-"));

    // '-' is stdout, in place of the schedule; no file named '-' appears.
    const auto here = std::filesystem::current_path();
    std::filesystem::current_path(store.folder());
    const ToolRun toStdout = runTool({"--months", "12", "--csv", "-"});
    const ToolRun pdfToStdout = runTool({"--months", "12", "--pdf=-"});
    const bool strayFile = std::filesystem::exists(store.folder() / "-");
    std::filesystem::current_path(here);
    EXPECT_EQ(toStdout.status, 0) << toStdout.err;
    EXPECT_EQ(toStdout.out, text);
    EXPECT_TRUE(pdfToStdout.out.starts_with("%PDF-"));
    EXPECT_FALSE(strayFile);
}

}  // namespace
}  // namespace quillet::testing
