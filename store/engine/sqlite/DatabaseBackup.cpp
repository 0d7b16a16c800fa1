#include "engine/sqlite/DatabaseBackup.h"

#include <sqlite3.h>

#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "engine/sqlite/SqliteSession.h"
#include "files/DatabaseFiles.h"
#include "files/OutputFile.h"
#include "runtime/RuntimeError.h"

namespace quillet::sqlite {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

RuntimeError backupFailed(const std::string& reason, int code) {
    return {err::StoreError, "The store cannot be backed up: " + reason, code, "HY000"};
}

DatabaseHandle openDatabase(const std::filesystem::path& file, int flags) {
    sqlite3* raw = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    DatabaseHandle db(raw);
    if (rc != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc);
        throw backupFailed("'" + file.string() + "': " + message, rc);
    }
    sqlite3_busy_timeout(db.get(), SqliteSession::kBusyTimeoutMs);
    return db;
}

void execOn(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw backupFailed(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    }
}

void copyAllPages(sqlite3* from, sqlite3* to) {
    sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
    if (backup == nullptr) {
        throw backupFailed(sqlite3_errmsg(to), sqlite3_extended_errcode(to));
    }
    // All pages in one step: the whole copy is read under one snapshot of the store, which
    // writers in WAL mode never block.
    int rc = SQLITE_OK;
    for (int waited = 0; waited <= SqliteSession::kBusyTimeoutMs; waited += 100) {
        rc = sqlite3_backup_step(backup, -1);
        if (rc != SQLITE_BUSY && rc != SQLITE_LOCKED) {
            break;
        }
        sqlite3_sleep(100);
    }
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        throw backupFailed(rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                               ? std::string(SqliteSession::kBusyDescription)
                               : std::string(sqlite3_errstr(rc)),
                           rc);
    }
}

}  // namespace

void backupDatabase(const std::filesystem::path& source, const std::filesystem::path& target,
                    const std::vector<std::filesystem::path>& alsoRefused) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) {
        throw backupFailed("there is no store at '" + source.string() + "' yet.", SQLITE_CANTOPEN);
    }
    std::vector<std::filesystem::path> refused = databaseFiles(source);
    refused.insert(refused.end(), alsoRefused.begin(), alsoRefused.end());
    try {
        // The copy holds the same records as the private data folder: readable by its owner
        // only, from its creation on.
        OutputFile copy(target, OutputAccess::OwnerOnly, refused);
        const DatabaseHandle from = openDatabase(source, SQLITE_OPEN_READWRITE);
        {
            // The engine writes the file this process created exclusively, never through a link.
            const DatabaseHandle to =
                openDatabase(copy.temporaryPath(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOFOLLOW);
            // No rollback journal: a failed copy is thrown away whole, so a journal would only
            // be one more file holding records.
            execOn(to.get(), "PRAGMA journal_mode = OFF");
            copyAllPages(from.get(), to.get());
            // The copy stands alone: it must not open in WAL mode, as the store it came from
            // does. Without a journal this only rewrites its header.
            execOn(to.get(), "PRAGMA journal_mode = DELETE");
        }
        copy.commit();
    } catch (const OutputFileError& e) {
        throw backupFailed(e.what(), SQLITE_CANTOPEN);
    }
}

}  // namespace quillet::sqlite
