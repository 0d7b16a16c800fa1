#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "report/ReportDefinition.h"
#include "report/ReportDefinitionSearch.h"
#include "runtime/ProgramFolder.h"
#include "support/TempStore.h"

namespace quillet::testing {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;

/// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : m_name(name) {
        if (const char* old = std::getenv(name)) {
            m_previous = old;
        }
        set(value);
    }
    ~ScopedEnvironment() { set(m_previous); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    void set(const std::optional<std::string>& value) {
        if (value) {
            ::setenv(m_name, value->c_str(), 1);
        } else {
            ::unsetenv(m_name);
        }
    }
    const char* m_name;
    std::optional<std::string> m_previous;
};

/// An installed layout under <temp>/prefix, a user's configuration folder and a home folder.
class ReportDefinitionSearchTest : public ::testing::Test {
protected:
    ReportDefinitionSearchTest() { setProgramFolder(binaries); }
    ~ReportDefinitionSearchTest() override { setProgramFolder({}); }

    static void place(const std::filesystem::path& file) {
        std::filesystem::create_directories(file.parent_path());
        writeFile(file);
    }
    static void writeFile(const std::filesystem::path& file) {
        std::FILE* out = std::fopen(file.c_str(), "w");
        ASSERT_NE(out, nullptr);
        std::fclose(out);
    }

    TempStore store;
    const std::filesystem::path binaries = store.folder() / "prefix" / "bin";
    const std::filesystem::path installed =
        store.folder() / "prefix" / "share" / "quillet" / "EMI.rpt";
    const std::filesystem::path besideProgram = binaries / "EMI.rpt";
    const std::filesystem::path config = store.folder() / "config";
    const std::filesystem::path usersCopy = config / "quillet" / "EMI.rpt";
    const std::filesystem::path home = store.folder() / "home";
    ScopedEnvironment configHome{"XDG_CONFIG_HOME", config.string()};
    ScopedEnvironment homeFolder{"HOME", home.string()};
};

TEST_F(ReportDefinitionSearchTest, TheUsersCopyThenTheProgramFolderThenTheInstalledOne) {
    for (const auto& file : {installed, besideProgram, usersCopy}) {
        place(file);
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
    for (const std::optional<std::string>& value :
         {std::optional<std::string>{}, std::optional<std::string>{""},
          std::optional<std::string>{"config"}}) {
        ScopedEnvironment unusable("XDG_CONFIG_HOME", value);
        EXPECT_EQ(reportDefinitionFile(), homeCopy) << value.value_or("(unset)");
    }
    std::filesystem::current_path(working);
}

TEST_F(ReportDefinitionSearchTest, AMissingDefinitionNamesEveryPlaceTried) {
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
}

}  // namespace
}  // namespace quillet::testing
