#include "engine/common/TranslationCache.h"

#include <optional>

#include "dialect/Lexing.h"
#include "engine/common/PlainValues.h"
#include "runtime/Date.h"
#include "runtime/Numbers.h"

namespace quillet::engine {

namespace {

namespace lexing = dialect::lexing;

constexpr std::size_t kShapeCacheSize = 64;
// Stands for a literal in a shape key; a statement that holds this byte itself is not keyed.
constexpr char kLiteralMark = '\x01';

char kindMark(dialect::Parameter::Kind kind) {
    switch (kind) {
        case dialect::Parameter::Kind::Text:
            return 'S';
        case dialect::Parameter::Kind::Number:
            return 'N';
        case dialect::Parameter::Kind::Date:
            return 'D';
    }
    return '?';
}

// Writes the value the translation lifts out of a literal after a sign ("" or "-" or "+");
// false for a #date# it would refuse.
bool assignLiteralValue(dialect::Parameter::Kind kind, std::string_view text, std::string_view sign,
                        std::string& out) {
    switch (kind) {
        case dialect::Parameter::Kind::Text:
            out.assign(sign);
            // The content with doubled apostrophes made single, as the translation unquotes it.
            dialect::lexing::appendUnquoted(out, text);
            return true;
        case dialect::Parameter::Kind::Number:
            // A literal beyond the double range goes back to the translation, which refuses it.
            if (numberLiteralOverflows(text)) {
                return false;
            }
            out.assign(sign);
            out.append(text);
            return true;
        case dialect::Parameter::Kind::Date:
            if (sign.empty() && assignPlainDayFirstDate(text.substr(1, text.size() - 2), out)) {
                return true;
            }
            if (const auto date = parseDate(text.substr(1, text.size() - 2))) {
                out.assign(sign);
                out.append(formatIsoDate(*date));
                return true;
            }
            return false;
    }
    return false;
}

}  // namespace

// NOTE: this walks the statement once without building tokens: it is the whole per-row cost of
// recognising a statement already seen, where the tokenizer builds and classifies every token.
// It reads names, numbers and quoted texts with the tokenizer's own lexing, so a shape key splits
// a statement exactly where the translation will. Text between literals goes into the key in
// runs.
bool TranslationCache::scanShape(std::string_view sql) {
    m_key.clear();
    m_literals.clear();
    if (sql.find(kLiteralMark) != std::string_view::npos) {
        return false;
    }
    const std::size_t size = sql.size();
    const auto at = [&](std::size_t i) -> unsigned char {
        return i < size ? static_cast<unsigned char>(sql[i]) : '\0';
    };
    std::size_t run = 0;  // start of the text not yet in the key
    const auto literal = [&](dialect::Parameter::Kind kind, std::size_t start, std::size_t end) {
        m_key.append(sql.data() + run, start - run);
        m_key.push_back(kLiteralMark);
        m_key.push_back(kindMark(kind));
        m_literals.push_back({kind, sql.substr(start, end - start)});
        run = end;
    };
    std::size_t p = 0;
    while (p < size) {
        const std::size_t start = p;
        const unsigned char c = at(p);
        if (lexing::isNameStart(c)) {
            ++p;
            while (p < size && lexing::isNameByte(at(p))) {
                ++p;
            }
        } else if (lexing::startsNumber(sql, p)) {
            p = lexing::numberEnd(sql, p);
            literal(dialect::Parameter::Kind::Number, start, p);
        } else if (c == '\'') {
            p = lexing::stringEnd(sql, p);
            if (p == std::string_view::npos) {
                return false;  // the translator reports it
            }
            literal(dialect::Parameter::Kind::Text, start, p);
        } else if (c == '#') {
            const std::size_t close = sql.find('#', p + 1);
            if (close == std::string_view::npos) {
                return false;
            }
            p = close + 1;
            literal(dialect::Parameter::Kind::Date, start, p);
        } else if (c == '[') {
            p = lexing::bracketNameEnd(sql, p);
        } else if (c == '"') {
            p = lexing::quotedNameEnd(sql, p);
        } else {
            ++p;
        }
    }
    m_key.append(sql.data() + run, size - run);
    return true;
}

// Puts this statement's literal values into a cached translation.
bool TranslationCache::fillValues(Entry& entry) const {
    if (m_literals.empty()) {
        return true;
    }
    auto& parameters = entry.cached.translation.statements.front().parameters;
    for (std::size_t i = 0; i < m_literals.size(); ++i) {
        if (!assignLiteralValue(m_literals[i].kind, m_literals[i].text, entry.signs[i],
                                parameters[i].value)) {
            return false;
        }
    }
    return true;
}

// True when the fresh translation in entry is its statement's literals lifted into parameters in
// order (a number possibly with its sign), so that it holds for any statement of the shape.
bool TranslationCache::learn(Entry& entry) const {
    const dialect::Translation& translation = entry.cached.translation;
    if (m_literals.empty()) {
        return true;
    }
    if (translation.alterColumn || translation.statements.size() != 1) {
        return false;
    }
    const auto& parameters = translation.statements.front().parameters;
    if (parameters.size() != m_literals.size()) {
        return false;
    }
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const dialect::Parameter& parameter = parameters[i];
        std::string literalText;
        if (parameter.kind != m_literals[i].kind ||
            !assignLiteralValue(m_literals[i].kind, m_literals[i].text, "", literalText)) {
            return false;
        }
        if (parameter.value == literalText) {
            entry.signs.emplace_back();
            continue;
        }
        const bool signedNumber =
            parameter.kind == dialect::Parameter::Kind::Number &&
            parameter.value.size() == literalText.size() + 1 &&
            (parameter.value.front() == '-' || parameter.value.front() == '+') &&
            std::string_view(parameter.value).substr(1) == literalText;
        if (!signedNumber) {
            return false;
        }
        entry.signs.emplace_back(1, parameter.value.front());
    }
    return true;
}

CachedTranslation& TranslationCache::translateUncached(std::string_view accessSql) {
    m_uncached.translation = dialect::translate(accessSql, m_target);
    m_uncached.kinds.clear();
    m_uncached.kindsVersion = -1;
    return m_uncached;
}

CachedTranslation& TranslationCache::translate(std::string_view accessSql) {
    if (!scanShape(accessSql)) {
        m_key.clear();
        return translateUncached(accessSql);
    }
    if (const auto found = m_index.find(m_key); found != m_index.end()) {
        Entry& entry = *found->second;
        if (!fillValues(entry)) {
            return translateUncached(accessSql);
        }
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return entry.cached;
    }
    Entry entry{m_key, CachedTranslation{dialect::translate(accessSql, m_target), {}, -1}, {}};
    if (!learn(entry)) {
        m_uncached = std::move(entry.cached);
        return m_uncached;
    }
    if (m_entries.size() >= kShapeCacheSize) {
        m_index.erase(m_entries.back().key);
        m_entries.pop_back();
    }
    m_entries.push_front(std::move(entry));
    m_index.emplace(m_entries.front().key, m_entries.begin());
    return m_entries.front().cached;
}

}  // namespace quillet::engine
