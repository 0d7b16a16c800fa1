#include "engine/odbc/NameSpellings.h"

#include <mutex>
#include <optional>
#include <unordered_map>

#include "dialect/Tokenizer.h"
#include "runtime/Text.h"
#include "schema/DefaultSchema.h"

namespace quillet::odbc {

namespace {

// NOTE: PostgreSQL stores unquoted names folded to lower case and reports them so, where the
// embedded store reports them as they were written ("EMIDate", not "emidate"). Grids and field
// lookups show those names, so the written spelling is put back.
class Spellings {
public:
    static Spellings& instance() {
        static Spellings spellings;
        return spellings;
    }

    void learn(std::string_view ddl) {
        std::vector<dialect::Token> tokens;
        try {
            tokens = dialect::tokenize(ddl);
        } catch (...) {
            return;  // a statement the dialect refuses teaches nothing
        }
        const std::lock_guard lock(m_mutex);
        for (const dialect::Token& token : tokens) {
            if (token.kind == dialect::TokenKind::Word) {
                const std::string name(token.text);
                const std::string lower = toLowerAscii(name);
                if (lower != name) {
                    m_byLowerCase[lower] = name;
                }
            }
        }
    }

    std::optional<std::string> find(const std::string& lower) {
        const std::lock_guard lock(m_mutex);
        if (const auto found = m_byLowerCase.find(lower); found != m_byLowerCase.end()) {
            return found->second;
        }
        return std::nullopt;
    }

private:
    Spellings() {
        // The default schema is all of the spellings a store made by it needs.
        std::string_view schema = defaultSchemaSql();
        while (!schema.empty()) {
            const std::size_t eol = schema.find('\n');
            const std::string_view line = schema.substr(0, eol);
            if (line.find("--") == std::string_view::npos) {
                learnLine(line);
            }
            schema = eol == std::string_view::npos ? std::string_view() : schema.substr(eol + 1);
        }
    }

    void learnLine(std::string_view line) {
        std::string word;
        auto flush = [&] {
            const std::string lower = toLowerAscii(word);
            if (!word.empty() && lower != word) {
                m_byLowerCase.emplace(lower, word);
            }
            word.clear();
        };
        for (const char c : line) {
            if (dialect::isNameByte(static_cast<unsigned char>(c))) {
                word += c;
            } else {
                flush();
            }
        }
        flush();
    }

    std::mutex m_mutex;
    std::unordered_map<std::string, std::string> m_byLowerCase;
};

std::optional<std::string> spelledIn(std::string_view statement, std::string_view lower) {
    std::string word;
    for (std::size_t i = 0; i <= statement.size(); ++i) {
        const char c = i < statement.size() ? statement[i] : ' ';
        if (dialect::isNameByte(static_cast<unsigned char>(c))) {
            word += c;
            continue;
        }
        if (!word.empty() && word.size() == lower.size() && toLowerAscii(word) == lower) {
            return word;
        }
        word.clear();
    }
    return std::nullopt;
}

}  // namespace

void learnNameSpellings(std::string_view ddl) {
    Spellings::instance().learn(ddl);
}

std::string respelt(std::string_view name, std::string_view statement) {
    const std::string given(name);
    if (toLowerAscii(given) != given) {
        return given;
    }
    if (auto written = spelledIn(statement, given)) {
        return *written;
    }
    if (auto learnt = Spellings::instance().find(given)) {
        return *learnt;
    }
    return given;
}

std::string respeltQuotedNames(std::string description, std::string_view statement) {
    std::size_t open = description.find('"');
    while (open != std::string::npos) {
        const std::size_t close = description.find('"', open + 1);
        if (close == std::string::npos) {
            break;
        }
        const std::string name = description.substr(open + 1, close - open - 1);
        const std::string spelt = respelt(name, statement);
        description.replace(open + 1, name.size(), spelt);
        open = description.find('"', open + spelt.size() + 2);
    }
    return description;
}

}  // namespace quillet::odbc
