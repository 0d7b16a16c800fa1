#include "cli/StoreMaintenance.h"

#include "VekClass.h"
#include "cli/ToolMessages.h"
#include "cli/ToolStatus.h"
#include "engine/Connection.h"
#include "engine/ConnectionString.h"
#include "engine/Session.h"
#include "engine/StoreInUse.h"
#include "engine/odbc/OdbcRegistry.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"
#include "schema/SchemaCreation.h"

namespace quillet {

namespace {

// Keeps other runs from changing the schema for its lifetime (two runs creating the same tables
// at once).
class SchemaLock {
public:
    explicit SchemaLock(Connection& connection) : m_connection(connection) {
        m_connection.session().lockSchemaChanges();
    }
    ~SchemaLock() {
        try {
            m_connection.session().unlockSchemaChanges();
        } catch (const RuntimeError&) {
            // A lost session holds no lock any more.
        }
    }
    SchemaLock(const SchemaLock&) = delete;
    SchemaLock& operator=(const SchemaLock&) = delete;

private:
    Connection& m_connection;
};

std::vector<std::string> createTablesOnce() {
    Connection connection;
    connection.Open(defaultConnectionString());
    if (const std::string unfit = connection.session().textUnfitness(); !unfit.empty()) {
        throw RuntimeError(err::StoreError,
                           "The data source '" +
                               parseConnectionString(defaultConnectionString()).dataSource +
                               "' is not given the schema: " + unfit + ".",
                           0, "HY000");
    }
    std::vector<std::string> created;
    {
        const SchemaLock lock(connection);
        created = createMissingTables(connection);
    }
    connection.Close();
    return created;
}

std::string attribute(const odbc::Registration& registration, const std::string& key) {
    const auto found = registration.attributes.find(key);
    return found == registration.attributes.end() ? std::string() : found->second;
}

bool mentions(const std::string& text, std::string_view word) {
    return toLowerAscii(text).find(word) != std::string::npos;
}

}  // namespace

int printStoreInUse(std::ostream& out, std::ostream& err) {
    try {
        const std::string line =
            describeStoreInUse(parseConnectionString(defaultConnectionString()));
        out << line << "\n";
        out.flush();
        return out ? kToolDone : kToolOutputFailed;
    } catch (const RuntimeError& e) {
        writeDiagnostic(err, e.description());
        return kToolOutputFailed;
    }
}

int createStoreSchema(std::ostream& out, std::ostream& err) {
    std::vector<std::string> created;
    try {
        try {
            created = createTablesOnce();
        } catch (const RuntimeError&) {
            // Another run may have created the same tables meanwhile (a store without a lock of
            // its own): what counts is that every table is there, so look once more.
            created = createTablesOnce();
        }
    } catch (const RuntimeError& e) {
        writeDiagnostic(err, "the schema cannot be created: " + e.description());
        return kToolOutputFailed;
    }
    if (created.empty()) {
        out << "Every table of the default schema is present; nothing was changed.\n";
    } else {
        out << "Created " << created.size() << " table" << (created.size() == 1 ? "" : "s") << ":";
        for (const std::string& table : created) {
            out << " " << table;
        }
        out << "\n";
    }
    out.flush();
    return out ? kToolDone : kToolOutputFailed;
}

std::string storeInUseNote() {
    try {
        return "store: " + describeStoreInUse(parseConnectionString(defaultConnectionString()));
    } catch (const RuntimeError& e) {
        return "store: cannot be opened: " + e.description();
    }
}

std::optional<std::string> officeBackupRefusal() {
    const std::string dataSource = parseConnectionString(defaultConnectionString()).dataSource;
    const odbc::Registration registration = odbc::findRegistration(dataSource);
    if (!registration.file) {
        if (!registration.problem.empty()) {
            return "--backup copies the embedded store only, and it is not the store in use: " +
                   registration.problem;
        }
        return std::nullopt;
    }
    const std::string head = "--backup copies the embedded store only, but the data source '" +
                             dataSource + "' is registered with the ODBC driver manager in " +
                             registration.file->string();
    const std::string driver = attribute(registration, "driver");
    const std::string database = attribute(registration, "database");
    if (mentions(driver, "sqlite")) {
        return head + " (a SQLite file, " + database +
               "): back it up with the sqlite3 shell's .backup command, for example sqlite3 " +
               database + " \".backup 'quillet-copy.db'\".";
    }
    if (mentions(driver, "postgres") || mentions(driver, "psql")) {
        return head + " (a PostgreSQL database, " + database +
               "): back it up on the server with pg_dump, for example pg_dump --format=custom "
               "--file=quillet.dump " +
               database + ".";
    }
    return head + ": back it up with its database server's own tool (pg_dump for PostgreSQL, " +
           "the sqlite3 shell's .backup command for a SQLite file).";
}

}  // namespace quillet
