#include "engine/odbc/IdleSessions.h"

#include <pthread.h>

#include <chrono>
#include <mutex>
#include <vector>

namespace quillet::odbc {

namespace {

class IdleSessions {
public:
    static IdleSessions& instance() {
        static IdleSessions sessions;
        return sessions;
    }

    // A kept session that no longer reaches its database is dropped: the caller connects anew.
    std::unique_ptr<OdbcSession::Impl> take(const std::string& key) {
        std::unique_ptr<OdbcSession::Impl> impl = takeEntry(key);
        if (impl && impl->connection->isAlive() && impl->rules->stillConnected(*impl->connection)) {
            return impl;
        }
        return nullptr;
    }

    void put(std::unique_ptr<OdbcSession::Impl> impl) {
        const std::lock_guard lock(m_mutex);
        if (m_entries.size() >= kMaxIdleSessions) {
            m_entries.erase(m_entries.begin());
        }
        m_entries.push_back({std::move(impl), Clock::now()});
    }

    void clear() {
        std::vector<Entry> closing;
        {
            const std::lock_guard lock(m_mutex);
            closing.swap(m_entries);
        }
    }

private:
    std::unique_ptr<OdbcSession::Impl> takeEntry(const std::string& key) {
        const std::lock_guard lock(m_mutex);
        const auto now = Clock::now();
        for (auto it = m_entries.begin(); it != m_entries.end();) {
            if (now - it->since > kMaxIdle) {
                it = m_entries.erase(it);
            } else if (it->impl->key == key) {
                std::unique_ptr<OdbcSession::Impl> impl = std::move(it->impl);
                m_entries.erase(it);
                return impl;
            } else {
                ++it;
            }
        }
        return nullptr;
    }

    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kMaxIdleSessions = 4;
    static constexpr auto kMaxIdle = std::chrono::seconds(30);

    struct Entry {
        std::unique_ptr<OdbcSession::Impl> impl;
        Clock::time_point since;
    };

    IdleSessions() { pthread_atfork(nullptr, nullptr, &abandonInChild); }

    // A forked child shares its parent's server connections; it must neither use nor close
    // them, so it forgets them without a word to the server.
    static void abandonInChild() {
        for (Entry& entry : instance().m_entries) {
            static_cast<void>(entry.impl->connection.release());
        }
        instance().m_entries.clear();
    }

    std::mutex m_mutex;
    std::vector<Entry> m_entries;
};

}  // namespace

namespace idle {

std::unique_ptr<OdbcSession::Impl> take(const std::string& key) {
    return IdleSessions::instance().take(key);
}

void put(std::unique_ptr<OdbcSession::Impl> session) {
    IdleSessions::instance().put(std::move(session));
}

}  // namespace idle

void releaseIdleSessions() {
    IdleSessions::instance().clear();
}

}  // namespace quillet::odbc
