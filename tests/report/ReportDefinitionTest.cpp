#include <gtest/gtest.h>

#include <string>

#include "report/ReportDefinition.h"
#include "report/ReportPlaceholders.h"
#include "runtime/ProgramFolder.h"

namespace quillet {
namespace {

constexpr const char* kGood = R"(quillet-report 1
# a comment

[report]
title = Schedule of {amount}
Paper = letter
orientation = landscape
margins = 12.5
font-size = 10
font = DejaVu Serif
csv-header = headings
empty-text = Nothing {{yet}}

[inputs]
Amount | {amount}
Start  | {start}

[columns]
SN        | No.  | right  | general | 10%
@6        | Due  | center | DATE
Interest  | Int. | Right  | general | 30

[totals]
columns = interest
label = Sum

[page-footer]
center = Page {page} of {pages}
)";

TEST(ReportDefinition, ReadsEverySettingOfAGoodFile) {
    const ReportDefinition d = parseReportDefinition(kGood);
    EXPECT_EQ(d.title, "Schedule of {amount}");
    EXPECT_EQ(d.paper, "Letter");
    EXPECT_TRUE(d.landscape);
    EXPECT_DOUBLE_EQ(d.marginMillimetres, 12.5);
    EXPECT_DOUBLE_EQ(d.fontSize, 10);
    EXPECT_EQ(d.fontFamily, "DejaVu Serif");
    EXPECT_EQ(d.csvHeader, CsvHeader::Headings);
    EXPECT_EQ(expandTemplate(d.emptyText, {}), "Nothing {yet}");

    ASSERT_EQ(d.inputs.size(), 2U);
    EXPECT_EQ(d.inputs[1].label, "Start");
    EXPECT_EQ(expandTemplate(d.inputs[1].value, {{"start", "01/Jan/2024"}}), "01/Jan/2024");

    ASSERT_EQ(d.columns.size(), 3U);
    EXPECT_EQ(d.columns[0].source, "SN");
    EXPECT_EQ(d.columns[0].alignment, CellAlignment::Right);
    EXPECT_DOUBLE_EQ(d.columns[0].widthPercent, 10);
    EXPECT_EQ(d.columns[1].position, 6);
    EXPECT_EQ(d.columns[1].format, ValueFormat::Date);
    EXPECT_EQ(d.columns[1].alignment, CellAlignment::Center);
    EXPECT_DOUBLE_EQ(d.columns[1].widthPercent, 0);
    EXPECT_EQ(d.columns[2].line, 21);

    // The total names its column without regard to case.
    EXPECT_EQ(d.totalledColumns, std::vector<std::size_t>{2});
    EXPECT_EQ(d.totalsLabel, "Sum");
    EXPECT_TRUE(d.pageHeader.empty());
    EXPECT_EQ(expandTemplate(d.pageFooter.center, {{"page", "2"}, {"pages", "3"}}), "Page 2 of 3");
}

TEST(ReportDefinition, AcceptsAByteOrderMarkAndWindowsLineEnds) {
    const ReportDefinition d = parseReportDefinition(
        "\xEF\xBB\xBFquillet-report 1\r\n[report]\r\ntitle = T\r\n[columns]\r\nSN|No.|right|"
        "general\r\n");
    EXPECT_EQ(d.title, "T");
    ASSERT_EQ(d.columns.size(), 1U);
    EXPECT_EQ(d.columns[0].heading, "No.");
}

TEST(ReportDefinition, TheShippedDefinitionIsSound) {
    const ReportDefinition d = loadReportDefinition(programFolder() / "EMI.rpt");
    EXPECT_FALSE(d.title.empty());
    EXPECT_EQ(d.columns.size(), 6U);
    EXPECT_EQ(d.totalledColumns.size(), 2U);
    EXPECT_NE(d.pageFooter.center.find("{pages}"), std::string::npos);
}

struct Faulty {
    const char* name;
    std::string text;
    int line;
    const char* problem;
};

// Everything after the signature line; most cases put their fault on a known line.
std::string withSignature(const std::string& body) {
    return "quillet-report 1\n" + body;
}

const std::string kMinimalColumns = "[columns]\nSN | No. | right | general\n";

class FaultyDefinition : public ::testing::TestWithParam<Faulty> {};

TEST_P(FaultyDefinition, NamesTheLineAndTheProblem) {
    const Faulty& fault = GetParam();
    try {
        parseReportDefinition(fault.text);
        FAIL() << "accepted: " << fault.text;
    } catch (const ReportDefinitionError& error) {
        EXPECT_EQ(error.line(), fault.line) << error.what();
        EXPECT_NE(error.problem().find(fault.problem), std::string::npos)
            << "problem: " << error.problem();
    }
}

INSTANTIATE_TEST_SUITE_P(
    EveryKindOfFault, FaultyDefinition,
    ::testing::Values(
        Faulty{"Empty", "", 0, "file is empty"},
        Faulty{"CommentsOnly", "# nothing\n\n", 0, "file is empty"},
        Faulty{"NoSignature", "[report]\ntitle = T\n", 1, "begins with the line"},
        Faulty{"OtherVersion", "quillet-report 2\n", 1, "unsupported format version \"2\""},
        Faulty{"OutsideSection", withSignature("title = T\n"), 2, "outside any section"},
        Faulty{"UnknownSection", withSignature("[report]\ntitle = T\n[colums]\n"), 4,
               "unknown section [colums]"},
        Faulty{"RepeatedSection",
               withSignature("[report]\ntitle = T\n" + kMinimalColumns + "[report]\n"), 6,
               "appears twice"},
        Faulty{"BadHeader", withSignature("[report\n"), 2, "name in brackets"},
        Faulty{"NoEquals", withSignature("[report]\ntitle T\n"), 3, "key = value"},
        Faulty{"UnknownKey", withSignature("[report]\ntitel = T\n"), 3, "unknown key \"titel\""},
        Faulty{"RepeatedKey", withSignature("[report]\ntitle = T\ntitle = U\n"), 4, "given twice"},
        Faulty{"EmptyTitle", withSignature("[report]\ntitle =\n"), 3, "must not be empty"},
        Faulty{"BadPaper", withSignature("[report]\ntitle = T\npaper = B5\n"), 4,
               "\"paper\" must be one of"},
        Faulty{"BadFontSize", withSignature("[report]\ntitle = T\nfont-size = 2\n"), 4,
               "from 5 to 24"},
        Faulty{"UnknownPlaceholder", withSignature("[report]\ntitle = {amout}\n"), 3,
               "unknown placeholder {amout}"},
        Faulty{"PageOutsideBand", withSignature("[report]\ntitle = Page {page}\n"), 3,
               "only be used in [page-header] and [page-footer]"},
        Faulty{"OpenBrace", withSignature("[report]\ntitle = T {amount\n"), 3, "without its \"}\""},
        Faulty{"StrayBrace", withSignature("[report]\ntitle = T }\n"), 3, "without its \"{\""},
        Faulty{"InputWithoutBar", withSignature("[inputs]\nAmount {amount}\n"), 3, "label | value"},
        Faulty{"InputWithoutLabel", withSignature("[inputs]\n | {amount}\n"), 3, "needs a label"},
        Faulty{"ColumnFields", withSignature("[columns]\nSN | No. | right\n"), 3,
               "column | heading | alignment | format"},
        Faulty{"ColumnName", withSignature("[columns]\nOpening Balance | O | right | general\n"), 3,
               "is not a column"},
        Faulty{"ColumnPosition", withSignature("[columns]\n@0 | O | right | general\n"), 3,
               "is not a column"},
        Faulty{"Alignment", withSignature("[columns]\nSN | No. | middle | general\n"), 3,
               "\"alignment\" must be one of left, center, right"},
        Faulty{"Format", withSignature("[columns]\nSN | No. | right | money\n"), 3,
               "\"format\" must be one of general, date"},
        Faulty{"Width", withSignature("[columns]\nSN | No. | right | general | wide\n"), 3,
               "\"width\" must be a number"},
        Faulty{"WidthsOver100",
               withSignature("[columns]\nSN | a | right | general | 60%\n"
                             "Interest | b | right | general | 50%\n"),
               4, "more than 100%"},
        Faulty{"NoTitle", withSignature("[report]\npaper = A4\n" + kMinimalColumns), 2,
               "has no title"},
        Faulty{"NoReportSection", withSignature(kMinimalColumns), 0, "no [report] section"},
        Faulty{"NoColumns", withSignature("[report]\ntitle = T\n[columns]\n"), 4,
               "lists no columns"},
        Faulty{"NoColumnsSection", withSignature("[report]\ntitle = T\n"), 0,
               "no [columns] section"},
        Faulty{
            "TotalOfMissingColumn",
            withSignature("[report]\ntitle = T\n[totals]\ncolumns = Interest\n" + kMinimalColumns),
            5, "names no column"},
        Faulty{"TotalTwice",
               withSignature("[report]\ntitle = T\n" + kMinimalColumns +
                             "[totals]\ncolumns = SN, sn\n"),
               7, "asked for twice"},
        Faulty{"BandKey", withSignature("[page-footer]\nmiddle = x\n"), 3,
               "unknown key \"middle\" in [page-footer]"}),
    [](const ::testing::TestParamInfo<Faulty>& info) { return std::string(info.param.name); });

TEST(ReportDefinition, AMissingFileIsReportedWithItsPath) {
    const auto file = std::filesystem::temp_directory_path() / "quillet-no-such-folder" / "EMI.rpt";
    try {
        loadReportDefinition(file);
        FAIL() << "a missing file was accepted";
    } catch (const ReportDefinitionError& error) {
        EXPECT_EQ(error.line(), 0);
        EXPECT_EQ(describeDefinitionError(file, error),
                  "Report definition \"" + file.string() + "\": the file does not exist");
    }
}

TEST(ReportDefinition, ADescribedFaultCarriesPathAndLine) {
    const ReportDefinitionError error(7, "unknown key \"x\" in [report]");
    EXPECT_EQ(describeDefinitionError("/opt/q/EMI.rpt", error),
              "Report definition \"/opt/q/EMI.rpt\", line 7: unknown key \"x\" in [report]");
}

}  // namespace
}  // namespace quillet
