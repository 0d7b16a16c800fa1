#include "cli/StoreBackup.h"

#include <ostream>

#include "cli/ToolMessages.h"
#include "cli/ToolStatus.h"
#include "engine/DataSource.h"
#include "engine/StoreFiles.h"
#include "engine/sqlite/DatabaseBackup.h"
#include "runtime/RuntimeError.h"

namespace quillet {

int runStoreBackup(const std::string& file, std::ostream& err) {
    try {
        sqlite::backupDatabase(embeddedDatabasePath(), file, storeOwnFiles());
    } catch (const RuntimeError& e) {
        writeDiagnostic(err, e.description());
        return kToolOutputFailed;
    }
    return kToolDone;
}

}  // namespace quillet
