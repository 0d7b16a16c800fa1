#pragma once
// Data sources registered with the driver manager for one test: a SQLite file through the SQLite
// ODBC driver, or the throw-away PostgreSQL server that scripts/with-postgres.sh starts.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "engine/odbc/OdbcSession.h"
#include "schema/SchemaCreation.h"
#include "support/TempStore.h"

namespace quillet::testing {

inline constexpr const char* kClassConnection = "DSN=det;userID= Admin;Password= 09octvel";

/// Registers a data source in the test's own odbc.ini (TempStore points the driver manager at
/// its folder). The driver is given by absolute path.
inline void registerDataSource(const quillet::testing::TempStore& home, const std::string& name,
                               const std::string& body) {
    odbc::releaseIdleSessions();
    std::ofstream(home.folder() / "odbcinst.ini") << "";
    std::ofstream(home.folder() / "odbc.ini", std::ios::app) << "[" << name << "]\n"
                                                             << body << "\n";
}

/// \brief A folder that lives as long as the test program.
///
/// NOTE: the driver manager keeps the values it read from odbc.ini for some seconds, whatever
/// file they came from; a data source therefore keeps the same settings for the whole run, and
/// each test empties the store behind it instead of pointing it elsewhere.
inline const std::filesystem::path& runFolder() {
    struct Folder {
        Folder() {
            std::string pattern =
                (std::filesystem::temp_directory_path() / "quillet-office-XXXXXX").string();
            if (::mkdtemp(pattern.data()) == nullptr) {
                throw std::runtime_error("cannot create a temporary folder");
            }
            path = pattern;
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
        std::filesystem::path path;
    };
    static const Folder folder;
    return folder.path;
}

/// An empty SQLite file registered under the name; returns the file.
inline std::filesystem::path registerSqliteFile(const quillet::testing::TempStore& home,
                                                const std::string& name = "det") {
    // One file whatever the entry is called: the driver manager may answer for any spelling of
    // "det" with the settings it read last.
    const std::filesystem::path file = runFolder() / "office.db";
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + "-journal");
    registerDataSource(home, name,
                       "Driver=" QUILLET_SQLITE_ODBC_DRIVER "\nDatabase=" + file.string() + "\n");
    return file;
}

/// The odbc.ini body of the throw-away PostgreSQL server, without credentials; nothing when no
/// server was started for this run.
inline std::optional<std::string> postgresServer() {
    const char* port = std::getenv("QUILLET_TEST_PGPORT");
    const char* database = std::getenv("QUILLET_TEST_PGDATABASE");
    if (port == nullptr || database == nullptr) {
        return std::nullopt;
    }
    return std::string("Driver=" QUILLET_POSTGRES_ODBC_DRIVER "\nServername=127.0.0.1\nPort=") +
           port + "\nDatabase=" + database + "\n";
}

inline std::shared_ptr<Connection> openClassConnection() {
    auto connection = std::make_shared<Connection>();
    connection->setConnectionString(kClassConnection);
    connection->Open("", "", "", -1);
    return connection;
}

/// Registers the PostgreSQL server as "det", drops every table a previous test left and creates
/// the default schema.
inline bool registerFreshPostgres(const quillet::testing::TempStore& home) {
    const std::optional<std::string> server = postgresServer();
    if (!server) {
        return false;
    }
    registerDataSource(home, "det", *server);
    auto connection = openClassConnection();
    std::vector<std::string> tables;
    {
        Recordset rs;
        rs.Open("select tablename from pg_tables where schemaname = current_schema()", connection);
        for (; rs.State() == kStateOpen && !rs.Eof(); rs.MoveNext()) {
            tables.push_back(rs.Fields(0).toString());
        }
    }
    for (const std::string& table : tables) {
        Recordset rs;
        rs.Open("DROP TABLE \"" + table + "\"", connection);
    }
    createMissingTables(*connection);
    return true;
}

}  // namespace quillet::testing
