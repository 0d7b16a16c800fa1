// The numeric test and conversion: a text is a number exactly when its value is a finite double,
// whatever its spelling, and then the conversion gives that double. The C library's correctly
// rounded strtod is the reference for texts made of the grammar's characters only.
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

#include "FuzzTarget.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

namespace {

using quillet::testing::require;

std::string_view withoutBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct Reference {
    bool decimal = false;  // the whole body reads as a decimal number
    double value = 0;
};

// strtod also takes hex, "inf" and "nan"; only plain decimal spellings are compared with it.
Reference referenceOf(std::string_view body) {
    if (body.empty() || body.find_first_not_of("+-.0123456789eE") != std::string_view::npos ||
        body[0] == ' ') {
        return {};
    }
    const std::string text(body);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(text.c_str(), &end);
    return {end == text.c_str() + text.size(), value};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input = quillet::testing::asText(data, size);
    const std::optional<double> parsed = quillet::parseNumber(input);
    const Reference reference = referenceOf(withoutBlanks(input));

    if (parsed) {
        require(std::isfinite(*parsed), "an accepted number is a finite double", input);
        require(reference.decimal && reference.value == *parsed,
                "an accepted number converts to the value of its decimal text", input);
        // The conversion of a text agrees with the numeric test.
        double converted = 0;
        try {
            converted = quillet::Variant(std::string(input)).toDouble();
        } catch (const quillet::RuntimeError&) {
            require(false, "a text the numeric test accepts converts", input);
        }
        require(converted == *parsed, "conversion and numeric test give the same value", input);
        // The general form reads back as a number and is its own general form.
        const std::string general = quillet::formatGeneral(*parsed);
        const std::optional<double> again = quillet::parseNumber(general);
        require(again.has_value() && quillet::formatGeneral(*again) == general,
                "the general form of a number reads back to the same form", input);
    } else if (reference.decimal) {
        require(!std::isfinite(reference.value),
                "a decimal text whose value is a finite double is a number", input);
    }
    return 0;
}
