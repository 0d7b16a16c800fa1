#include "engine/sqlite/TextFolding.h"

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace quillet::sqlite {

namespace {

struct FoldingRun {
    char32_t first;
    std::uint16_t count;
    std::uint8_t stride;
    std::int32_t offset;
};

constexpr FoldingRun kFoldingRuns[] = {
#include "engine/sqlite/CaseFoldingTable.inc"
};

// NOTE: bytes that are not valid UTF-8 still have to order consistently (a collation must be a
// total order), so each becomes a character of its own, above every real one.
constexpr char32_t kInvalidByteBase = 0x110000;

// The code point starting at text[i]; advances i past it.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
        least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        least = 0x10000;
    }
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
        valid = (byte(i + k) & 0xC0) == 0x80;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    valid = valid && value >= least && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
    if (!valid) {
        ++i;
        return kInvalidByteBase + lead;
    }
    i += length;
    return value;
}

std::vector<char32_t> foldedCodePoints(std::string_view text) {
    std::vector<char32_t> out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        out.push_back(foldCase(nextCodePoint(text, i)));
    }
    return out;
}

// One step of a Like pattern.
struct PatternStep {
    enum class Kind { AnyRun, OneCharacter, Literal } kind;
    char32_t literal = 0;
};

// Splits a pattern into its steps; nothing when an escape character ends it (it then matches
// nothing, as SQLite's own like() has it).
std::optional<std::vector<PatternStep>> patternSteps(std::string_view pattern,
                                                     std::optional<char32_t> escape) {
    std::vector<PatternStep> steps;
    for (std::size_t i = 0; i < pattern.size();) {
        const char32_t c = nextCodePoint(pattern, i);
        if (escape && c == *escape) {
            if (i >= pattern.size()) {
                return std::nullopt;
            }
            steps.push_back({PatternStep::Kind::Literal, foldCase(nextCodePoint(pattern, i))});
        } else if (c == U'%') {
            if (steps.empty() || steps.back().kind != PatternStep::Kind::AnyRun) {
                steps.push_back({PatternStep::Kind::AnyRun});
            }
        } else if (c == U'_') {
            steps.push_back({PatternStep::Kind::OneCharacter});
        } else {
            steps.push_back({PatternStep::Kind::Literal, foldCase(c)});
        }
    }
    return steps;
}

// NOTE: mirrors the built-in limit (SQLITE_LIMIT_LIKE_PATTERN_LENGTH), so a pattern the engine
// would refuse is refused here too instead of costing a long match.
bool patternTooLong(sqlite3_context* context, int bytes) {
    if (bytes >
        sqlite3_limit(sqlite3_context_db_handle(context), SQLITE_LIMIT_LIKE_PATTERN_LENGTH, -1)) {
        sqlite3_result_error(context, "LIKE or GLOB pattern too complex", -1);
        return true;
    }
    return false;
}

std::string_view textOf(sqlite3_value* value) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(value));
    return text == nullptr
               ? std::string_view()
               : std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(value)));
}

// like(pattern, text) and like(pattern, text, escape), as SQLite calls them for
// "text LIKE pattern [ESCAPE escape]".
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv) {
    for (int k = 0; k < argc; ++k) {
        if (sqlite3_value_type(argv[k]) == SQLITE_NULL) {
            sqlite3_result_null(context);
            return;
        }
    }
    const std::string_view pattern = textOf(argv[0]);
    if (patternTooLong(context, sqlite3_value_bytes(argv[0]))) {
        return;
    }
    std::optional<char32_t> escape;
    if (argc == 3) {
        const std::string_view escapeText = textOf(argv[2]);
        std::size_t i = 0;
        if (!escapeText.empty()) {
            escape = nextCodePoint(escapeText, i);
        }
        if (escapeText.empty() || i != escapeText.size()) {
            sqlite3_result_error(context, "ESCAPE expression must be a single character", -1);
            return;
        }
    }
    sqlite3_result_int(context, likeMatches(pattern, textOf(argv[1]), escape) ? 1 : 0);
}

int nocaseCollation(void*, int lengthA, const void* a, int lengthB, const void* b) {
    return compareIgnoringCase(
        std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(lengthA)),
        std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(lengthB)));
}

}  // namespace

char32_t foldCase(char32_t c) {
    if (c < 0x80) {
        return c >= U'A' && c <= U'Z' ? c + 32 : c;
    }
    // The last run starting at or before c.
    const auto* end = std::end(kFoldingRuns);
    const auto* after =
        std::upper_bound(std::begin(kFoldingRuns), end, c,
                         [](char32_t value, const FoldingRun& run) { return value < run.first; });
    if (after == std::begin(kFoldingRuns)) {
        return c;
    }
    const FoldingRun& run = *(after - 1);
    const char32_t distance = c - run.first;
    if (distance % run.stride != 0 || distance / run.stride >= run.count) {
        return c;
    }
    return static_cast<char32_t>(static_cast<std::int64_t>(c) + run.offset);
}

int compareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t k = 0;
    while (i < a.size() && k < b.size()) {
        const char32_t ca = foldCase(nextCodePoint(a, i));
        const char32_t cb = foldCase(nextCodePoint(b, k));
        if (ca != cb) {
            return ca < cb ? -1 : 1;
        }
    }
    if (i < a.size()) {
        return 1;
    }
    return k < b.size() ? -1 : 0;
}

bool likeMatches(std::string_view pattern, std::string_view text, std::optional<char32_t> escape) {
    const std::optional<std::vector<PatternStep>> steps = patternSteps(pattern, escape);
    if (!steps) {
        return false;
    }
    const std::vector<char32_t> chars = foldedCodePoints(text);
    // Greedy match that backtracks to the last '%' only: each '%' takes as little as it can and
    // grows by one character whenever what follows fails.
    std::size_t p = 0;
    std::size_t t = 0;
    std::optional<std::size_t> lastAnyRun;
    std::size_t resumeAt = 0;
    while (t < chars.size()) {
        if (p < steps->size() && (*steps)[p].kind == PatternStep::Kind::AnyRun) {
            lastAnyRun = p++;
            resumeAt = t;
        } else if (p < steps->size() && ((*steps)[p].kind == PatternStep::Kind::OneCharacter ||
                                         (*steps)[p].literal == chars[t])) {
            ++p;
            ++t;
        } else if (lastAnyRun) {
            p = *lastAnyRun + 1;
            t = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < steps->size() && (*steps)[p].kind == PatternStep::Kind::AnyRun) {
        ++p;
    }
    return p == steps->size();
}

void installTextFolding(sqlite3* db) {
    constexpr int kFlags = SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    sqlite3_create_collation_v2(db, "NOCASE", SQLITE_UTF8, nullptr, &nocaseCollation, nullptr);
    sqlite3_create_function_v2(db, "like", 2, kFlags, nullptr, &likeFunction, nullptr, nullptr,
                               nullptr);
    sqlite3_create_function_v2(db, "like", 3, kFlags, nullptr, &likeFunction, nullptr, nullptr,
                               nullptr);
}

}  // namespace quillet::sqlite
