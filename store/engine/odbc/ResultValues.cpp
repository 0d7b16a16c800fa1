#include "engine/odbc/ResultValues.h"

#include <charconv>
#include <optional>
#include <string>

#include "engine/common/ValueConversion.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet::odbc {

namespace {

bool contains(std::string_view haystack, std::string_view needle) {
    return haystack.find(needle) != std::string_view::npos;
}

std::optional<Variant> wholeNumber(std::string_view text) {
    long long whole = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, whole);
    if (ec == std::errc() && stop == end) {
        return Variant(whole);
    }
    return std::nullopt;
}

std::optional<Variant> number(std::string_view text) {
    if (auto whole = wholeNumber(text)) {
        return whole;
    }
    // NOTE: a server writes exact decimals ("6102.05", "5000000000.000"); a value with a zero
    // fraction is still whole, as the embedded store keeps it.
    if (const std::optional<double> value = parseNumber(text)) {
        const std::size_t point = text.find('.');
        if (point != std::string_view::npos && text.find_first_of("eE") == std::string_view::npos &&
            text.find_first_not_of('0', point + 1) == std::string_view::npos) {
            if (auto whole = wholeNumber(text.substr(0, point))) {
                return whole;
            }
        }
        return Variant(*value);
    }
    return std::nullopt;
}

}  // namespace

ValueFamily familyOfTypeName(std::string_view typeName) {
    const std::string lower = toLowerAscii(typeName);
    if (lower.empty()) {
        return ValueFamily::Unknown;
    }
    if (contains(lower, "date") || contains(lower, "time")) {
        return ValueFamily::Date;
    }
    if (contains(lower, "char") || contains(lower, "text") || contains(lower, "clob") ||
        contains(lower, "memo") || contains(lower, "string") || contains(lower, "bytea") ||
        contains(lower, "blob") || contains(lower, "binary")) {
        return ValueFamily::Text;
    }
    if (contains(lower, "doub") || contains(lower, "floa") || contains(lower, "real")) {
        return ValueFamily::Double;
    }
    return ValueFamily::Number;
}

Variant valueFromText(std::string_view text, ValueFamily family) {
    switch (family) {
        case ValueFamily::Text:
            return std::string(text);
        case ValueFamily::Date:
            return engine::dateFromStoredText(text);
        case ValueFamily::Double:
            if (const std::optional<double> value = parseNumber(text)) {
                return *value;
            }
            return std::string(text);
        case ValueFamily::Number:
        case ValueFamily::Unknown:
            if (auto value = number(text)) {
                return *value;
            }
            return std::string(text);
    }
    return std::string(text);
}

}  // namespace quillet::odbc
