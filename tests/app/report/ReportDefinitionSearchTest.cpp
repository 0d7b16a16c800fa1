#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "report/ReportDefinition.h"
#include "report/ReportDefinitionSearch.h"
#include "runtime/ProgramFolder.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

/// An installed layout under <temp>/prefix, a user's configuration folder and a home folder.
class ReportDefinitionSearchTest : public ::testing::Test {
protected:
    ReportDefinitionSearchTest() {
        setProgramFolder(binaries);
        ::setenv("HOME", home.c_str(), 1);
    }
    ~ReportDefinitionSearchTest() override {
        setProgramFolder({});
        ::setenv("HOME", m_previousHome.c_str(), 1);
    }

    static void place(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        ASSERT_TRUE(std::ofstream(file).good());
    }

    TempStore store;
    const std::filesystem::path binaries = store.folder() / "prefix" / "bin";
    const std::filesystem::path installed =
        store.folder() / "prefix" / "share" / "quillet" / "EMI.rpt";
    const std::filesystem::path besideProgram = binaries / "EMI.rpt";
    // TempStore points XDG_CONFIG_HOME at its own config folder.
    const std::filesystem::path usersCopy = store.folder() / "config" / "quillet" / "EMI.rpt";
    const std::filesystem::path home = store.folder() / "home";
    const std::string m_previousHome = std::getenv("HOME") ? std::getenv("HOME") : "/";
};

// Without any definition the installed place is named, and the failure names every place tried.
TEST_F(ReportDefinitionSearchTest, TheUsersCopyThenTheProgramFolderThenTheInstalledOne) {
    place(store.folder() / "prefix" / "bin" / "share" / "quillet" / "EMI.rpt");
    const auto file = reportDefinitionFile();
    EXPECT_EQ(file, installed);
    try {
        loadReportDefinition(file);
        FAIL() << "a missing definition loaded";
    } catch (const ReportDefinitionError& error) {
        EXPECT_THAT(describeDefinitionError(file, error),
                    AllOf(HasSubstr("\"" + installed.string() + "\": the file does not exist"),
                          HasSubstr("\"" + usersCopy.string() + "\""),
                          HasSubstr("\"" + besideProgram.string() + "\"")));
    }
    for (const auto& each : {installed, besideProgram, usersCopy}) {
        place(each);
    }
    EXPECT_EQ(reportDefinitionFile(), usersCopy);
    std::filesystem::remove(usersCopy);
    // A folder of that name is no definition.
    std::filesystem::create_directory(usersCopy);
    EXPECT_EQ(reportDefinitionFile(), besideProgram);
    std::filesystem::remove(besideProgram);
    EXPECT_EQ(reportDefinitionFile(), installed);
}

TEST_F(ReportDefinitionSearchTest, WithoutAnAbsoluteConfigFolderTheHomeConfigFolderIsUsed) {
    const auto homeCopy = home / ".config" / "quillet" / "EMI.rpt";
    place(homeCopy);
    place(besideProgram);
    // "config" relative to the working folder would name the user's copy; a relative
    // XDG_CONFIG_HOME does not count, or the definition would depend on where one stands.
    place(usersCopy);
    const auto working = std::filesystem::current_path();
    std::filesystem::current_path(store.folder());
    // TempStore puts the variable back afterwards.
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(reportDefinitionFile(), homeCopy) << "(unset)";
    for (const char* value : {"", "config"}) {
        ::setenv("XDG_CONFIG_HOME", value, 1);
        EXPECT_EQ(reportDefinitionFile(), homeCopy) << value;
    }
    std::filesystem::current_path(working);
}

}  // namespace
}  // namespace quillet::testing
