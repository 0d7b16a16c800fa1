#include "cli/StoreMaintenance.h"

#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/ConnectionString.h"
#include "engine/StoreInUse.h"
#include "runtime/RuntimeError.h"
#include "schema/SchemaCreation.h"

namespace quillet {

namespace {

constexpr const char* kPrefix = "quillet-schedule: ";
constexpr int kStoreFailed = 1;

}  // namespace

int printStoreInUse(std::ostream& out, std::ostream& err) {
    try {
        const std::string line =
            describeStoreInUse(parseConnectionString(defaultConnectionString()));
        out << line << "\n";
        out.flush();
        return out ? 0 : kStoreFailed;
    } catch (const RuntimeError& e) {
        err << kPrefix << e.description() << "\n";
        return kStoreFailed;
    }
}

int createStoreSchema(std::ostream& out, std::ostream& err) {
    std::vector<std::string> created;
    try {
        Connection connection;
        connection.Open(defaultConnectionString());
        created = createMissingTables(connection);
        connection.Close();
    } catch (const RuntimeError& e) {
        err << kPrefix << "the schema cannot be created: " << e.description() << "\n";
        return kStoreFailed;
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
    return out ? 0 : kStoreFailed;
}

std::string storeInUseNote() {
    try {
        return kPrefix + std::string("store: ") +
               describeStoreInUse(parseConnectionString(defaultConnectionString()));
    } catch (const RuntimeError& e) {
        return kPrefix + std::string("store: cannot be opened: ") + e.description();
    }
}

}  // namespace quillet
