#include "engine/common/Names.h"

#include <cctype>

#include "runtime/Text.h"

namespace quillet::engine {

std::string bareName(std::string_view name) {
    if (name.size() >= 2 && ((name.front() == '[' && name.back() == ']') ||
                             (name.front() == '"' && name.back() == '"') ||
                             (name.front() == '`' && name.back() == '`'))) {
        name = name.substr(1, name.size() - 2);
    }
    return std::string(name);
}

bool isSchemaChange(std::string_view sql) {
    std::size_t p = 0;
    while (p < sql.size() && std::isspace(static_cast<unsigned char>(sql[p]))) {
        ++p;
    }
    // Run for every statement: most start with neither letter, and need no further look.
    const char first = p < sql.size() ? static_cast<char>(sql[p] | 0x20) : '\0';
    if (first != 'c' && first != 'a' && first != 'd') {
        return false;
    }
    std::size_t end = p;
    while (end < sql.size() && std::isalpha(static_cast<unsigned char>(sql[end]))) {
        ++end;
    }
    const std::string word = toLowerAscii(sql.substr(p, end - p));
    return word == "create" || word == "alter" || word == "drop";
}

}  // namespace quillet::engine
