#include "engine/StoreFiles.h"

#include "engine/DataSource.h"
#include "engine/odbc/OdbcRegistry.h"
#include "files/DatabaseFiles.h"
#include "runtime/RuntimeError.h"

namespace quillet {

std::vector<std::filesystem::path> storeOwnFiles() {
    std::vector<std::filesystem::path> files;
    try {
        files = databaseFiles(embeddedDatabasePath());
    } catch (const RuntimeError&) {
        // Without a home there is no embedded store to protect.
    }
    if (odbc::isRegistered(kDefaultDataSource)) {
        // A server's database name is no file; one that happens to name a file is refused all
        // the same, which costs nothing.
        const std::string database =
            odbc::storedAttribute(kDefaultDataSource, {"Database", "DBQ", "Db"});
        if (!database.empty()) {
            for (std::filesystem::path& file : databaseFiles(database)) {
                files.push_back(std::move(file));
            }
        }
    }
    return files;
}

}  // namespace quillet
