#include "engine/ConnectionString.h"

#include <cctype>
#include <string>

namespace quillet {

namespace {

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) {
        s.remove_prefix(1);
    }
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) {
        s.remove_suffix(1);
    }
    return s;
}

// Keys compare without regard to case and to blanks inside them ("User ID" is "userid").
std::string normalisedKey(std::string_view key) {
    std::string out;
    for (const char c : key) {
        if (!std::isspace(static_cast<unsigned char>(c))) {
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return out;
}

// Reads one value starting at pos. A value that opens with '{' runs to the matching '}' and may
// then hold ';' ("}}" stands for one '}'); any other value runs to the next ';' and is kept
// exactly, blanks included.
std::string readValue(std::string_view text, std::size_t& pos) {
    std::string value;
    if (pos < text.size() && text[pos] == '{') {
        ++pos;
        while (pos < text.size()) {
            if (text[pos] == '}') {
                if (pos + 1 < text.size() && text[pos + 1] == '}') {
                    value += '}';
                    pos += 2;
                    continue;
                }
                ++pos;
                break;
            }
            value += text[pos++];
        }
        // Anything between the closing brace and the separator is not part of the value.
        while (pos < text.size() && text[pos] != ';') {
            ++pos;
        }
    } else {
        const std::size_t end = text.find(';', pos);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end;
        value.assign(text.substr(pos, stop - pos));
        pos = stop;
    }
    if (pos < text.size()) {
        ++pos;  // the ';'
    }
    return value;
}

}  // namespace

ConnectionSettings parseConnectionString(std::string_view text) {
    ConnectionSettings settings;
    bool haveSource = false;
    bool haveUser = false;
    bool havePassword = false;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t equals = text.find('=', pos);
        const std::size_t semicolon = text.find(';', pos);
        if (equals == std::string_view::npos ||
            (semicolon != std::string_view::npos && semicolon < equals)) {
            // A piece without '=' carries no setting.
            pos = semicolon == std::string_view::npos ? text.size() : semicolon + 1;
            continue;
        }
        const std::string key = normalisedKey(trimBlanks(text.substr(pos, equals - pos)));
        pos = equals + 1;
        std::string value = readValue(text, pos);
        // As with the driver manager, the first occurrence of a key holds.
        if (key == "dsn") {
            if (!haveSource) {
                settings.dataSource = std::move(value);
                haveSource = true;
            }
        } else if (key == "userid" || key == "uid" || key == "user") {
            if (!haveUser) {
                settings.user = std::move(value);
                haveUser = true;
            }
        } else if (key == "password" || key == "pwd") {
            if (!havePassword) {
                settings.password = std::move(value);
                havePassword = true;
            }
        }
    }
    return settings;
}

}  // namespace quillet
