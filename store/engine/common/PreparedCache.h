#pragma once
/// \file
/// \brief Prepared statements kept by their SQL text, so a statement run once per row is
/// compiled once, whatever the engine's handle type.

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace quillet::engine {

/// \brief An owning handle per SQL text, least recently used dropped first. Handle is the
/// engine's owning handle (a unique_ptr with its deleter).
template <class Handle>
class PreparedCache {
public:
    explicit PreparedCache(std::size_t capacity) : m_capacity(capacity) {}

    /// \brief The handle kept for sql, made by prepare() (which may raise) the first time.
    template <class Prepare>
    typename Handle::pointer get(std::string_view sql, Prepare&& prepare) {
        // A statement run once per row is the one used last: no hashing for it.
        if (!m_entries.empty() && m_entries.front().sql == sql) {
            return m_entries.front().handle.get();
        }
        if (const auto found = m_index.find(sql); found != m_index.end()) {
            m_entries.splice(m_entries.begin(), m_entries, found->second);
            return found->second->handle.get();
        }
        Handle handle = std::forward<Prepare>(prepare)();
        if (m_entries.size() >= m_capacity) {
            m_index.erase(m_entries.back().sql);
            m_entries.pop_back();
        }
        m_entries.push_front(Entry{std::string(sql), std::move(handle)});
        m_index.emplace(m_entries.front().sql, m_entries.begin());
        return m_entries.front().handle.get();
    }

    /// Drops every kept handle.
    void clear() {
        m_index.clear();
        m_entries.clear();
    }

private:
    struct Entry {
        std::string sql;
        Handle handle;
    };
    std::size_t m_capacity;
    std::list<Entry> m_entries;
    std::unordered_map<std::string_view, typename std::list<Entry>::iterator> m_index;
};

}  // namespace quillet::engine
