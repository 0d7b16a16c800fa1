#include "engine/DataSource.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "engine/DataFolder.h"
#include "engine/odbc/OdbcRegistry.h"
#include "engine/odbc/OdbcSession.h"
#include "engine/sqlite/SqliteSession.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"
#include "schema/DefaultSchema.h"

namespace quillet {

namespace {

RuntimeError connectFailed(std::string description, long nativeCode = 0,
                           std::string sqlState = "08001") {
    return {err::StoreConnectFailed, std::move(description), nativeCode, std::move(sqlState)};
}

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 &&
        found != nullptr && found->pw_dir != nullptr && *found->pw_dir != '\0') {
        return found->pw_dir;
    }
    throw connectFailed("The data folder cannot be found: neither XDG_DATA_HOME nor HOME is set.");
}

// The built-in data source: the embedded store in the user's data folder.
std::unique_ptr<Session> openEmbedded(const ConnectionSettings& settings) {
    if (!equalsIgnoringCase(settings.dataSource, kDefaultDataSource)) {
        return nullptr;
    }
    const std::filesystem::path file = embeddedDatabasePath();
    ensurePrivateDataFolder(file.parent_path());
    restrictDatabaseFiles(file);
    try {
        return sqlite::SqliteSession::open(file, defaultSchemaSql());
    } catch (const RuntimeError& e) {
        throw connectFailed(
            "The data store '" + file.string() + "' cannot be opened: " + e.description(),
            e.nativeCode(), e.sqlState());
    }
}

// Where a failure to open a registered data source can be looked into: the file that registers
// it, and the database file for a data source that opens one (a SQLite file).
std::string registrationNote(const odbc::Registration& registration) {
    std::string note = " (registered in " + registration.file->string();
    if (const auto database = registration.attributes.find("database");
        database != registration.attributes.end() && !database->second.empty() &&
        database->second.find('/') != std::string::npos) {
        note += "; database file " + database->second;
    }
    return note + ")";
}

// A data source registered with the system's driver manager, opened through it. A registration
// that cannot be used is an error, never a reason to fall back to the embedded store: the work
// would silently go elsewhere than where the office looks for it.
std::unique_ptr<Session> openRegistered(const ConnectionSettings& settings) {
    const odbc::Registration registration = odbc::findRegistration(settings.dataSource);
    if (!registration.problem.empty()) {
        throw connectFailed(registration.problem, 0, "IM002");
    }
    if (!registration.file) {
        return nullptr;
    }
    const odbc::UserFileGuard keepUserFileUncreated;
    try {
        return odbc::OdbcSession::open(settings.dataSource, settings.user, settings.password);
    } catch (const RuntimeError& e) {
        throw RuntimeError(e.number(), e.description() + registrationNote(registration),
                           e.nativeCode(), e.sqlState());
    }
}

// Each resolver opens the data source it knows by name, or declines with nullptr so the next one
// is asked. A data source registered with the system's ODBC driver manager belongs first in this
// list: a registered "det" is meant to take precedence over the built-in store.
using Resolver = std::unique_ptr<Session> (*)(const ConnectionSettings&);
constexpr std::array<Resolver, 2> kResolvers = {&openRegistered, &openEmbedded};

}  // namespace

std::filesystem::path embeddedDataFolder() {
    // Only an absolute XDG_DATA_HOME counts; a relative one is ignored, as the base directory
    // rules require.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && *xdg == '/') {
        return std::filesystem::path(xdg) / "quillet";
    }
    return homeFolder() / ".local" / "share" / "quillet";
}

std::filesystem::path embeddedDatabasePath() {
    return embeddedDataFolder() / "quillet.db";
}

std::unique_ptr<Session> openDataSource(const ConnectionSettings& settings) {
    for (const Resolver resolve : kResolvers) {
        if (std::unique_ptr<Session> session = resolve(settings)) {
            return session;
        }
    }
    throw connectFailed("Data source name not found: '" + settings.dataSource + "'.", 0, "IM002");
}

}  // namespace quillet
