#include "engine/odbc/ManyRowsInsert.h"

#include <cctype>

#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

std::size_t skipBlanks(std::string_view text, std::size_t at) {
    while (at < text.size() && isBlank(text[at])) {
        ++at;
    }
    return at;
}

// The end of "(?, ..., ?)" starting at open, and its number of placeholders; nothing when the
// brackets hold anything else.
std::optional<std::size_t> placeholderRowEnd(std::string_view sql, std::size_t open,
                                             std::size_t& placeholders) {
    placeholders = 0;
    std::size_t at = open + 1;
    while (true) {
        at = skipBlanks(sql, at);
        if (at >= sql.size() || sql[at] != '?') {
            return std::nullopt;
        }
        ++placeholders;
        at = skipBlanks(sql, at + 1);
        if (at < sql.size() && sql[at] == ')') {
            return at + 1;
        }
        if (at >= sql.size() || sql[at] != ',') {
            return std::nullopt;
        }
        ++at;
    }
}

}  // namespace

// NOTE: read conservatively: the one-row statement must start with INSERT INTO, hold no
// placeholder before its VALUES, and end with its row of placeholders; anything else (a quoted
// name holding a '?', a SELECT, RETURNING or ON CONFLICT after the values) is left alone.
std::optional<std::string> manyRowsInsert(std::string_view sql, std::size_t rows) {
    if (rows == 0) {
        return std::nullopt;
    }
    const std::string lower = toLowerAscii(sql);
    const std::size_t start = skipBlanks(lower, 0);
    if (lower.compare(start, 6, "insert") != 0 || start + 6 >= lower.size() ||
        !isBlank(lower[start + 6])) {
        return std::nullopt;
    }
    const std::size_t into = skipBlanks(lower, start + 6);
    if (lower.compare(into, 4, "into") != 0) {
        return std::nullopt;
    }
    const std::size_t values = lower.rfind("values");
    const std::size_t firstPlaceholder = lower.find('?');
    if (values == std::string::npos || values < into + 4 || firstPlaceholder < values ||
        (!isBlank(lower[values - 1]) && lower[values - 1] != ')')) {
        return std::nullopt;
    }
    const std::size_t open = skipBlanks(lower, values + 6);
    if (open >= lower.size() || lower[open] != '(') {
        return std::nullopt;
    }
    std::size_t placeholders = 0;
    const std::optional<std::size_t> close = placeholderRowEnd(lower, open, placeholders);
    if (!close || skipBlanks(lower, *close) != lower.size()) {
        return std::nullopt;
    }
    const std::string_view row = sql.substr(open, *close - open);
    std::string out(sql.substr(0, *close));
    out.reserve(out.size() + (rows - 1) * (row.size() + 1));
    for (std::size_t r = 1; r < rows; ++r) {
        out += ',';
        out.append(row);
    }
    return out;
}

}  // namespace quillet::odbc
