// Which store "det" leads to, and that a "det" registered but unusable is an error, never a quiet
// move to the embedded store; nothing is created by asking, and the user's odbc.ini is never made.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include "engine/DataSource.h"
#include "office/ToolChild.h"
#include "store/engine/OfficeStores.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

const std::vector<std::string> kStoreRun = {"--amount", "1000", "--months", "3", "--store"};

std::filesystem::path userOdbcIni() {
    const passwd* entry = ::getpwuid(::getuid());
    return std::filesystem::path(entry != nullptr ? entry->pw_dir : "/home") / ".odbc.ini";
}

class StoreChoice : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return m_home.folder(); }
    std::filesystem::path userFile() const { return folder() / "odbc.ini"; }
    std::filesystem::path dataFolder() const { return embeddedDataFolder(); }

    ChildRun tool(const std::vector<std::string>& args, const EnvironmentChanges& changes = {}) {
        return runToolChild(args, changes, folder());
    }

    void writeUserEntry(const std::string& body) { std::ofstream(userFile()) << "[det]\n" << body; }

    quillet::testing::TempStore m_home;
};

TEST_F(StoreChoice, AUserFileNamingDetThatItsUserCannotWriteIsAnErrorNamingTheFile) {
    const std::filesystem::path database = folder() / "office.db";
    writeUserEntry("Driver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" + database.string() + "\n");
    ::chmod(userFile().c_str(), 0444);

    for (const auto& args : {kStoreRun, std::vector<std::string>{"--which-store"},
                             std::vector<std::string>{"--create-schema"}}) {
        const ChildRun run = tool(args);
        ASSERT_NE(run.status, 125) << "cannot give up root's override of permissions";
        EXPECT_EQ(run.status, 1) << args.front() << ": " << run.err;
        EXPECT_THAT(run.err, HasSubstr(userFile().string())) << args.front();
        EXPECT_THAT(run.err, HasSubstr("'det'")) << args.front();
        EXPECT_EQ(run.out, "") << args.front();
    }
    // No embedded store (nor its folder) and no SQLite file came of it.
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
    EXPECT_FALSE(std::filesystem::exists(database));
}

TEST_F(StoreChoice, AnEntryWithoutAUsableDriverIsAnErrorNamingTheFile) {
    writeUserEntry("Driver=Quillet Test Missing Driver\nDatabase=/nowhere/office.db\n");
    ChildRun run = tool(kStoreRun);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr(userFile().string()));
    EXPECT_THAT(run.err, HasSubstr("'Quillet Test Missing Driver' is not installed"));

    writeUserEntry("Driver=/nowhere/libnodriver.so\n");
    run = tool({"--which-store"});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("/nowhere/libnodriver.so does not exist"));

    writeUserEntry("Database=/nowhere/office.db\n");
    run = tool(kStoreRun);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("without a Driver line"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));

    // A file that cannot be read may name "det": the store in use cannot be told.
    std::ofstream(userFile()) << "[other]\nDriver=x\n";
    ::chmod(userFile().c_str(), 0);
    run = tool(kStoreRun);
    ASSERT_NE(run.status, 125);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr(userFile().string() + " cannot be read"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
}

TEST_F(StoreChoice, AFailedConnectionNamesTheDataSourceItsFileAndTheDatabaseFile) {
    const std::string database = (folder() / "no-such-folder" / "office.db").string();
    writeUserEntry("Driver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" + database + "\n");
    const ChildRun run = tool(kStoreRun);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The data source 'det' cannot be opened"));
    EXPECT_THAT(run.err, HasSubstr("registered in " + userFile().string()));
    EXPECT_THAT(run.err, HasSubstr("database file " + database));
    // Every line of the diagnostics carries the tool's prefix.
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind("quillet-schedule: ", 0), 0u) << line;
    }
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
}

TEST_F(StoreChoice, ASharedFileTheDeskCannotWriteIsAnErrorNamingTheDataSourceAndTheFile) {
    const std::filesystem::path shared = folder() / "shared";
    std::filesystem::create_directory(shared);
    const std::filesystem::path database = shared / "office.db";
    writeUserEntry("Driver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" + database.string() + "\n");
    ASSERT_EQ(tool({"--create-schema"}).status, 0);
    ASSERT_EQ(tool({"--store", "--months", "12"}).status, 0);
    // Readable by the desk, writable by nobody: the file and the folder its journal would go in.
    // (The tool's child gives up root's override of permissions.)
    ::chmod(database.c_str(), 0444);
    ::chmod(shared.c_str(), 0555);
    const ChildRun run = tool({"--store", "--months", "24"});
    ::chmod(shared.c_str(), 0755);
    ::chmod(database.c_str(), 0644);
    ASSERT_NE(run.status, 125) << "cannot give up root's override of permissions";
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("The data source 'det' (SQLite file " + database.string() +
                                   ") cannot be written"));
    std::istringstream lines(run.err);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_EQ(line.rfind("quillet-schedule: ", 0), 0u) << line;
    }
    // The stored schedule is the one before.
    const std::string count = "sqlite3 " + database.string() + " 'select count(*) from EMI' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(count.c_str(), "r"), &::pclose);
    std::array<char, 64> buffer{};
    ASSERT_NE(std::fgets(buffer.data(), buffer.size(), pipe.get()), nullptr);
    EXPECT_EQ(std::string(buffer.data()), "12\n");
}

TEST_F(StoreChoice, WhichStoreSaysWhyAndCreatesNothingNorDoesAnyRunCreateTheUsersOdbcIni) {
    const bool userIniExisted = std::filesystem::exists(userOdbcIni());
    // The driver manager's own choice of user file: ODBCINI unset.
    const EnvironmentChanges noOdbcIni = {{"ODBCINI", std::nullopt}};

    ChildRun run = tool({"--which-store"}, noOdbcIni);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "data source 'det': the embedded store " + embeddedDatabasePath().string() +
                           " (not created yet), as no ODBC data source of that name is registered "
                           "in " +
                           (folder() / "odbc.ini").string() + ", " + userOdbcIni().string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));

    // A SQLite file registered in the system's odbc.ini: told, not created.
    const std::filesystem::path database = folder() / "office.db";
    std::ofstream(folder() / "odbc.ini")
        << "[DET]\nDriver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" << database.string() << "\n";
    run = tool({"--which-store"}, noOdbcIni);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("registered with the ODBC driver manager in " +
                                   (folder() / "odbc.ini").string()));
    EXPECT_THAT(run.out, HasSubstr(database.string() + ", which does not exist yet"));
    EXPECT_FALSE(std::filesystem::exists(database));

    // Through the driver manager for real: schema, a stored run, the store named.
    EXPECT_EQ(tool({"--create-schema"}, noOdbcIni).status, 0);
    run = tool(kStoreRun, noOdbcIni);
    EXPECT_EQ(run.status, 0) << run.err;
    run = tool({"--which-store"}, noOdbcIni);
    EXPECT_THAT(run.out, HasSubstr("SQLite"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
    if (!userIniExisted) {
        EXPECT_FALSE(std::filesystem::exists(userOdbcIni())) << "a run created the user's odbc.ini";
    }
}

TEST_F(StoreChoice, BackupRefusesAnOfficeDetNamingItAndTheSqliteShell) {
    const std::filesystem::path database = registerSqliteFile(m_home);
    const std::filesystem::path copy = folder() / "copy.db";
    const ChildRun run = tool({"--backup", copy.string()});
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("'det'"));
    EXPECT_THAT(run.err, HasSubstr("sqlite3 " + database.string() + " \".backup"));
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
}

}  // namespace
}  // namespace quillet::testing
