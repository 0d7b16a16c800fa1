#pragma once
/// \file
/// \brief Translations remembered by statement shape, so that a statement run once per row (the
/// same INSERT with other values) is tokenised and translated once.

#include <cstddef>
#include <list>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "engine/common/ValueConversion.h"

namespace quillet::engine {

/// \brief A translation with its parameter values filled in from the statement just given, and
/// room for the engine to keep what it learned about the parameters' target columns.
struct CachedTranslation {
    dialect::Translation translation;
    /// Target column kinds of the single statement's parameters, valid while kindsVersion is the
    /// engine's current schema epoch; -1 when never looked up.
    std::vector<ColumnKind> kinds;
    long long kindsVersion = -1;
};

/// \brief The shape of a statement is its text with every literal ('text', a number, #date#)
/// taken out. Two statements of the same shape translate alike except for the values the
/// translation lifts out of those literals, so the translation is made once per shape and each
/// later statement only has its literals read and converted.
///
/// A shape is cached only when the translation verifiably consists of its literals lifted into
/// parameters in order (or the statement has no literal at all); anything else (a literal that
/// stays in the engine's SQL, a refused date) is translated afresh every time.
class TranslationCache {
public:
    /// Translations into the target's dialect.
    explicit TranslationCache(dialect::Target target = dialect::Target::SQLite)
        : m_target(target) {}

    /// \brief The translation of accessSql. The reference is valid until the next call. Raises
    /// what the translator raises.
    CachedTranslation& translate(std::string_view accessSql);

    /// \brief The shape of the statement last given to translate(); empty when it has none.
    /// Two statements of one shape differ only in their literals: whatever is read from the
    /// rest of their text (a second statement, a lock, a schema change) holds for both.
    std::string_view lastShape() const { return m_key; }

private:
    /// One literal of the statement as written, with its delimiters.
    struct Literal {
        dialect::Parameter::Kind kind;
        std::string_view text;
    };
    struct Entry {
        std::string key;
        CachedTranslation cached;
        /// What precedes each parameter's literal in its value: "" or a sign.
        std::vector<std::string> signs;
    };

    bool scanShape(std::string_view sql);
    bool fillValues(Entry& entry) const;
    bool learn(Entry& entry) const;
    CachedTranslation& translateUncached(std::string_view accessSql);

    dialect::Target m_target;
    std::list<Entry> m_entries;
    std::unordered_map<std::string_view, std::list<Entry>::iterator> m_index;
    // Scratch for the statement in hand, kept to reuse its storage.
    std::string m_key;
    std::vector<Literal> m_literals;
    CachedTranslation m_uncached;
};

}  // namespace quillet::engine
