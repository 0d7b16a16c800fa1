#include "cli/StoreBackup.h"

#include <ostream>

#include "engine/DataSource.h"
#include "engine/StoreFiles.h"
#include "engine/sqlite/DatabaseBackup.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

// The store or an output file failed.
constexpr int kStoreFailure = 1;

}  // namespace

int runStoreBackup(const std::string& file, std::ostream& err) {
    try {
        sqlite::backupDatabase(embeddedDatabasePath(), file, storeOwnFiles());
    } catch (const RuntimeError& e) {
        err << "quillet-schedule: " << e.description() << "\n";
        return kStoreFailure;
    }
    return 0;
}

}  // namespace quillet
