#include "engine/common/SqlStates.h"

#include <array>
#include <utility>

namespace quillet::engine {

std::string sqlStateForSqliteMessage(std::string_view message) {
    // The first entry whose words occur in the message decides; the order matters where one
    // message could hold two of them.
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 10> kByWords = {{
        {"syntax error", "42000"},
        {"incomplete input", "42000"},
        {"unrecognized token", "42000"},
        {"no such table", "42S02"},
        {"no such column", "42S22"},
        {"has no column", "42S22"},
        {"duplicate column", "42S21"},
        {"already exists", "42S01"},
        {"values were supplied", "21S01"},
        {"database is locked", "HYT00"},
    }};
    for (const auto& [words, state] : kByWords) {
        if (message.find(words) != std::string_view::npos) {
            return std::string(state);
        }
    }
    return "HY000";
}

}  // namespace quillet::engine
