#include "engine/sqlite/DatabaseBackup.h"

#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <string>
#include <system_error>

#include "engine/sqlite/SqliteSession.h"
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

// Removes the unfinished copy unless the backup completed.
class PartialFile {
public:
    explicit PartialFile(std::filesystem::path file) : m_file(std::move(file)) {}
    ~PartialFile() {
        if (!m_kept) {
            std::error_code ignored;
            std::filesystem::remove(m_file, ignored);
        }
    }
    PartialFile(const PartialFile&) = delete;
    PartialFile& operator=(const PartialFile&) = delete;
    const std::filesystem::path& path() const { return m_file; }
    void keep() { m_kept = true; }

private:
    std::filesystem::path m_file;
    bool m_kept = false;
};

}  // namespace

void backupDatabase(const std::filesystem::path& source, const std::filesystem::path& target) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(source, error)) {
        throw backupFailed("there is no store at '" + source.string() + "' yet.", SQLITE_CANTOPEN);
    }
    if (std::filesystem::equivalent(source, target, error)) {
        throw backupFailed("'" + target.string() + "' is the store itself.", SQLITE_MISUSE);
    }
    const DatabaseHandle from = openDatabase(source, SQLITE_OPEN_READWRITE);
    PartialFile partial(target.string() + ".partial");
    std::filesystem::remove(partial.path(), error);
    {
        const DatabaseHandle to =
            openDatabase(partial.path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
        sqlite3_backup* backup = sqlite3_backup_init(to.get(), "main", from.get(), "main");
        if (backup == nullptr) {
            throw backupFailed(sqlite3_errmsg(to.get()), sqlite3_extended_errcode(to.get()));
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
        // The copy stands alone: nothing of it may stay behind in a WAL of its own.
        if (sqlite3_exec(to.get(), "PRAGMA journal_mode = DELETE", nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
            throw backupFailed(sqlite3_errmsg(to.get()), sqlite3_extended_errcode(to.get()));
        }
    }
    // The copy holds the same records as the private data folder: readable by its owner only.
    std::filesystem::permissions(
        partial.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_write,
        error);
    std::filesystem::rename(partial.path(), target, error);
    if (error) {
        throw backupFailed("'" + target.string() + "': " + error.message() + ".", SQLITE_CANTOPEN);
    }
    partial.keep();
}

}  // namespace quillet::sqlite
