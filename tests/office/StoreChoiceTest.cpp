// Which store "det" leads to, and that a "det" registered but unusable is an error, never a quiet
// move to the embedded store; nothing is created by asking, and the user's odbc.ini is never made.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <fstream>

#include "engine/DataSource.h"
#include "store/engine/OfficeStores.h"
#include "support/ToolRun.h"

namespace quillet::testing {
namespace {

using ::testing::HasSubstr;

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

    ToolRun tool(const std::vector<std::string>& args, const EnvironmentChanges& changes = {}) {
        return runToolChild(args, {.environment = changes});
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
        const ToolRun run = tool(args);
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
    struct Entry {
        std::string body;
        std::vector<std::string> args;
        std::string reason;
    };
    for (const Entry& entry : std::vector<Entry>{
             {"Driver=Quillet Test Missing Driver\nDatabase=/nowhere/office.db\n", kStoreRun,
              "'Quillet Test Missing Driver' is not installed"},
             {"Driver=/nowhere/libnodriver.so\n",
              {"--which-store"},
              "/nowhere/libnodriver.so does not exist"},
             {"Database=/nowhere/office.db\n", kStoreRun, "without a Driver line"}}) {
        writeUserEntry(entry.body);
        const ToolRun run = tool(entry.args);
        EXPECT_EQ(run.status, 1) << entry.reason;
        EXPECT_THAT(run.err, HasSubstr(userFile().string())) << entry.reason;
        EXPECT_THAT(run.err, HasSubstr(entry.reason));
    }
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));

    // A file that cannot be read may name "det": the store in use cannot be told.
    std::ofstream(userFile()) << "[other]\nDriver=x\n";
    ::chmod(userFile().c_str(), 0);
    const ToolRun run = tool(kStoreRun);
    ASSERT_NE(run.status, 125);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr(userFile().string() + " cannot be read"));
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));
}

TEST_F(StoreChoice, AFailedConnectionNamesTheDataSourceItsFileAndTheDatabaseFile) {
    const std::string database = (folder() / "no-such-folder" / "office.db").string();
    writeUserEntry("Driver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" + database + "\n");
    const ToolRun run = tool(kStoreRun);
    EXPECT_EQ(run.status, 1);
    EXPECT_THAT(run.err, HasSubstr("The data source 'det' cannot be opened"));
    EXPECT_THAT(run.err, HasSubstr("registered in " + userFile().string()));
    EXPECT_THAT(run.err, HasSubstr("database file " + database));
    expectEveryLinePrefixed(run.err);
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
    const ToolRun run = tool({"--store", "--months", "24"});
    ::chmod(shared.c_str(), 0755);
    ::chmod(database.c_str(), 0644);
    ASSERT_NE(run.status, 125) << "cannot give up root's override of permissions";
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_THAT(run.err, HasSubstr("The data source 'det' (SQLite file " + database.string() +
                                   ") cannot be written"));
    expectEveryLinePrefixed(run.err);
    // The stored schedule is the one before.
    EXPECT_EQ(commandOutput("sqlite3 " + database.string() + " 'select count(*) from EMI' 2>&1"),
              "12\n");
}

TEST_F(StoreChoice, WhichStoreSaysWhyAndCreatesNothingNorDoesAnyRunCreateTheUsersOdbcIni) {
    const bool userIniExisted = std::filesystem::exists(userOdbcIni());
    // The driver manager's own choice of user file: ODBCINI unset.
    const EnvironmentChanges noOdbcIni = {{"ODBCINI", std::nullopt}};

    ToolRun run = tool({"--which-store"}, noOdbcIni);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "data source 'det': the embedded store " + embeddedDatabasePath().string() +
                           " (not created yet), as no ODBC data source of that name is registered "
                           "in " +
                           (folder() / "odbc.ini").string() + ", " + userOdbcIni().string() + "\n");
    EXPECT_FALSE(std::filesystem::exists(dataFolder()));

    // A SQLite file registered in the system's odbc.ini, whatever the case of its entry: told,
    // not created.
    const std::filesystem::path database = folder() / "office.db";
    std::ofstream(folder() / "odbc.ini")
        << "[DET]\nDriver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" << database.string() << "\n";
    run = tool({"--which-store"}, noOdbcIni);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("registered with the ODBC driver manager in " +
                                   (folder() / "odbc.ini").string() +
                                   " (driver " QUILLET_SQLITE_ODBC_DRIVER ")"));
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

}  // namespace
}  // namespace quillet::testing
