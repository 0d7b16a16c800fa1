#include "engine/StoreInUse.h"

#include <system_error>

#include "engine/DataFolder.h"
#include "engine/DataSource.h"
#include "engine/odbc/OdbcRegistry.h"
#include "engine/odbc/OdbcSession.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

bool fileExists(const std::filesystem::path& file) {
    std::error_code ignored;
    return std::filesystem::exists(file, ignored);
}

std::string attribute(const odbc::Registration& registration, const std::string& key) {
    const auto found = registration.attributes.find(key);
    return found == registration.attributes.end() ? std::string() : found->second;
}

std::string describeRegistered(const ConnectionSettings& settings,
                               const odbc::Registration& registration) {
    const std::string head =
        "data source '" + settings.dataSource + "': registered with the ODBC driver manager in " +
        registration.file->string() + " (driver " + attribute(registration, "driver") + "), ";
    // NOTE: the SQLite driver creates a database file that is missing when it connects; a
    // question about the store must not leave one behind.
    if (const std::string database = attribute(registration, "database");
        database.find('/') != std::string::npos && !fileExists(database)) {
        return head + "database file " + database + ", which does not exist yet";
    }
    const std::unique_ptr<Session> session = openDataSource(settings);
    if (const auto* odbc = dynamic_cast<const odbc::OdbcSession*>(session.get())) {
        return head + odbc->dbmsDescription();
    }
    return head + "opened as the embedded store";
}

}  // namespace

std::string describeStoreInUse(const ConnectionSettings& settings) {
    const odbc::Registration registration = odbc::findRegistration(settings.dataSource);
    if (!registration.problem.empty()) {
        throw RuntimeError(err::StoreConnectFailed, registration.problem, 0, "IM002");
    }
    if (registration.file) {
        return describeRegistered(settings, registration);
    }
    if (!equalsIgnoringCase(settings.dataSource, kDefaultDataSource)) {
        throw RuntimeError(err::StoreConnectFailed,
                           "Data source name not found: '" + settings.dataSource + "'.", 0,
                           "IM002");
    }
    std::string looked;
    for (const std::filesystem::path& file : odbc::dataSourceFiles()) {
        looked += (looked.empty() ? "" : ", ") + file.string();
    }
    const std::filesystem::path store = embeddedDatabasePath();
    // An unusable data folder is told as the store's own failure, before any claim of which
    // store is in use.
    checkDataFolder(store.parent_path());
    return "data source '" + settings.dataSource + "': the embedded store " + store.string() +
           (fileExists(store) ? "" : " (not created yet)") +
           ", as no ODBC data source of that name is registered in " + looked;
}

}  // namespace quillet
