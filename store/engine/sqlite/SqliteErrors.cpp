#include "engine/sqlite/SqliteErrors.h"

#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

#include "engine/common/SqlStates.h"
#include "engine/sqlite/SqliteSession.h"

namespace quillet::sqlite {

namespace {

// The engine's result codes mapped onto the SQLSTATE classes callers know from other drivers.
std::string sqlStateFor(int rc, std::string_view message) {
    switch (rc & 0xff) {
        case SQLITE_CONSTRAINT:
            return "23000";
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "HYT00";
        case SQLITE_READONLY:
            return "25006";
        case SQLITE_MISMATCH:
            return "22018";
        case SQLITE_TOOBIG:
            return "22001";
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
        case SQLITE_CANTOPEN:
            return "08001";
        case SQLITE_ERROR:
            return engine::sqlStateForSqliteMessage(message);
        default:
            return "HY000";
    }
}

// Failures of the file itself rather than of a statement: the user has to act on these.
bool isFileFailure(int code) {
    switch (code & 0xff) {
        case SQLITE_IOERR:
        case SQLITE_FULL:
        case SQLITE_READONLY:
        case SQLITE_CANTOPEN:
        case SQLITE_PERM:
            return true;
        default:
            return false;
    }
}

// The engine does not keep the reason of a failed write (its system error number is often 0 by
// the time it reports); the two usual ones can be seen from outside: a full file system and the
// process's file-size limit.
std::string writeFailureReason(const std::filesystem::path& file) {
    struct statvfs disk {};
    if (::statvfs(file.parent_path().c_str(), &disk) == 0 && disk.f_bavail == 0) {
        return std::generic_category().message(ENOSPC);
    }
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY) {
        constexpr std::uintmax_t kLargestWrite = 1 << 16;
        for (const char* suffix : {"", "-wal", "-journal"}) {
            std::error_code ignored;
            const std::uintmax_t size = std::filesystem::file_size(file.string() + suffix, ignored);
            if (!ignored && size + kLargestWrite > limit.rlim_cur) {
                return std::generic_category().message(EFBIG) + ": the file size limit of " +
                       std::to_string(limit.rlim_cur) + " bytes is reached";
            }
        }
    }
    return {};
}

// The engine's own words ("unable to open database file", "disk I/O error") do not say why; the
// system's reason does. The engine's own record of it is not reliable (its system error number
// is often 0 or stale by the time it reports), so the file is looked at directly.
std::string withSystemReason(sqlite3* db, int code, std::string message) {
    const char* file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    if (file == nullptr || *file == '\0' || !isFileFailure(code)) {
        return message;
    }
    std::string reason = accessFailureReason(file);
    if (const int primary = code & 0xff;
        reason.empty() && (primary == SQLITE_IOERR || primary == SQLITE_FULL)) {
        reason = writeFailureReason(file);
    }
    if (!reason.empty()) {
        message += " (" + reason + ")";
    }
    return message;
}

}  // namespace

// Why the file cannot be opened for reading and writing, as the system tells it for the file or,
// when there is none yet, for the folder it would be made in; empty when both are usable.
std::string accessFailureReason(const std::filesystem::path& file) {
    std::error_code ignored;
    const bool exists = std::filesystem::exists(file, ignored);
    const std::filesystem::path probed = exists ? file : file.parent_path();
    if (::access(probed.c_str(), exists ? (R_OK | W_OK) : (W_OK | X_OK)) == 0) {
        return {};
    }
    const std::string reason = std::generic_category().message(errno);
    return exists ? reason : reason + " in the folder '" + probed.string() + "'";
}

RuntimeError engineError(sqlite3* db, int rc) {
    const int code = db != nullptr ? sqlite3_extended_errcode(db) : rc;
    if ((code & 0xff) == SQLITE_BUSY && code != SQLITE_BUSY_SNAPSHOT) {
        // The statement never ran: it (or the transaction it would open) gave up waiting for the
        // write lock another program holds.
        return {err::StoreError, std::string(SqliteSession::kBusyDescription), code, "HYT00"};
    }
    std::string message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    std::string state = sqlStateFor(code, message);
    message = withSystemReason(db, code, std::move(message));
    // A write that fails on the file (full disk, file-size limit, permissions) names the file.
    const char* file = db != nullptr ? sqlite3_db_filename(db, "main") : nullptr;
    if ((code & 0xff) != SQLITE_CANTOPEN && isFileFailure(code) && file != nullptr &&
        *file != '\0') {
        const bool reading = code == SQLITE_IOERR_READ || code == SQLITE_IOERR_SHORT_READ;
        message = "The data store '" + std::string(file) + "' cannot be " +
                  (reading ? "read: " : "written: ") + message;
    }
    return {err::StoreError, std::move(message), code, std::move(state)};
}

// The one place a result code becomes an exception.
void check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE) {
        throw engineError(db, rc);
    }
}

void exec(sqlite3* db, const std::string& sql) {
    check(db, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
}

RuntimeError engineFailure(std::string description, int nativeCode, std::string sqlState) {
    return {err::StoreError, std::move(description), nativeCode, std::move(sqlState)};
}

}  // namespace quillet::sqlite
