#include "cli/StoreMaintenance.h"

#include "VekClass.h"
#include "cli/ToolStatus.h"
#include "engine/Connection.h"
#include "engine/ConnectionString.h"
#include "engine/StoreInUse.h"
#include "runtime/RuntimeError.h"
#include "schema/SchemaCreation.h"

namespace quillet {

int printStoreInUse(std::ostream& out, std::ostream& err) {
    try {
        const std::string line =
            describeStoreInUse(parseConnectionString(defaultConnectionString()));
        out << line << "\n";
        out.flush();
        return out ? kToolDone : kToolOutputFailed;
    } catch (const RuntimeError& e) {
        err << kToolPrefix << e.description() << "\n";
        return kToolOutputFailed;
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
        err << kToolPrefix << "the schema cannot be created: " << e.description() << "\n";
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
        return kToolPrefix + std::string("store: ") +
               describeStoreInUse(parseConnectionString(defaultConnectionString()));
    } catch (const RuntimeError& e) {
        return kToolPrefix + std::string("store: cannot be opened: ") + e.description();
    }
}

}  // namespace quillet
