#include "engine/sqlite/StoreKeeper.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <memory>
#include <mutex>

namespace quillet::sqlite {

namespace {

struct DatabaseCloser {
    void operator()(sqlite3* db) const noexcept { sqlite3_close_v2(db); }
};
using DatabaseHandle = std::unique_ptr<sqlite3, DatabaseCloser>;

// NOTE: the WAL may be the only copy of a committed change until a checkpoint. Without a
// connection holding it open, every operation's connection rebuilds the WAL index by reading the
// whole WAL and forgets how much of it was already copied back, so the WAL can never start over:
// each operation then grows slower than the one before.
class Keeper {
public:
    ~Keeper() { release(); }

    void keep(const std::filesystem::path& file) {
        struct stat info {};
        if (::stat(file.c_str(), &info) != 0) {
            return;
        }
        const std::lock_guard lock(m_mutex);
        // Compared by file identity: a store deleted and made again under the same name is
        // another file.
        if (m_db && info.st_dev == m_device && info.st_ino == m_inode) {
            return;
        }
        releaseLocked();
        sqlite3* raw = nullptr;
        const int rc = sqlite3_open_v2(file.c_str(), &raw,
                                       SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
        DatabaseHandle db(raw);
        // A first read maps the WAL index; the connection then stays idle, holding no snapshot,
        // so it never keeps a checkpoint from finishing.
        if (rc != SQLITE_OK || sqlite3_exec(db.get(), "SELECT count(*) FROM sqlite_master", nullptr,
                                            nullptr, nullptr) != SQLITE_OK) {
            return;
        }
        m_db = std::move(db);
        m_device = info.st_dev;
        m_inode = info.st_ino;
    }

    void release() {
        const std::lock_guard lock(m_mutex);
        releaseLocked();
    }

private:
    void releaseLocked() {
        if (!m_db) {
            return;
        }
        // Without a busy handler the checkpoint takes what it can now: another program still
        // reading or writing keeps its part of the WAL, and finishes the job when it leaves.
        sqlite3_busy_timeout(m_db.get(), 0);
        sqlite3_wal_checkpoint_v2(m_db.get(), "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
        m_db.reset();
    }

    std::mutex m_mutex;
    DatabaseHandle m_db;
    dev_t m_device = 0;
    ino_t m_inode = 0;
};

Keeper& keeper() {
    static Keeper instance;
    return instance;
}

}  // namespace

void keepStoreOpen(const std::filesystem::path& file) {
    keeper().keep(file);
}

void releaseStore() {
    keeper().release();
}

}  // namespace quillet::sqlite
