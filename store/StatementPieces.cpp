#include "StatementPieces.h"

#include <cctype>

#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

RuntimeError refused(const std::string& what, std::string_view value) {
    return {err::StoreError, what + " '" + std::string(value) + "' is not allowed in a statement",
            0, "42000"};
}

void appendEscaped(std::string& out, std::string_view text) {
    for (const char c : text) {
        out.push_back(c);
        if (c == '\'') {
            out.push_back('\'');
        }
    }
}

}  // namespace

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    appendEscaped(out, text);
    return out;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 4);
    out.push_back('\'');
    appendEscaped(out, text);
    out.push_back('\'');
    return out;
}

std::string bareNumber(std::string_view text) {
    if (!isNumeric(text)) {
        throw refused("The number", text);
    }
    std::size_t begin = text.find_first_not_of(" \t");
    std::size_t end = text.find_last_not_of(" \t");
    return std::string(text.substr(begin, end - begin + 1));
}

const std::string& identifier(const std::string& name) {
    bool ok = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0]));
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        ok = ok && (std::isalnum(u) || c == '_') && u < 128;
    }
    if (!ok) {
        throw refused("The name", name);
    }
    return name;
}

const std::string& orderWord(const std::string& word) {
    if (!(word.empty() || equalsIgnoringCase(word, "asc") || equalsIgnoringCase(word, "desc"))) {
        throw refused("The ordering word", word);
    }
    return word;
}

}  // namespace quillet
