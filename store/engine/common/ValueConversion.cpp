#include "engine/common/ValueConversion.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "runtime/Date.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

namespace quillet::engine {

namespace {

bool contains(const std::string& haystack, std::string_view needle) {
    return haystack.find(needle) != std::string::npos;
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// A whole number written without point or exponent is kept as a 64-bit integer when it fits,
// so large serials and counts are stored exactly; anything else is a double.
std::optional<BoundValue> numberFromText(std::string_view text) {
    const std::optional<double> value = parseNumber(text);
    if (!value) {
        return std::nullopt;
    }
    std::string_view body = trimBlanks(text);
    if (!body.empty() && body.front() == '+') {
        body.remove_prefix(1);
    }
    const bool wholeForm =
        !body.empty() && std::all_of(body.begin() + (body.front() == '-' ? 1 : 0), body.end(),
                                     [](char c) { return c >= '0' && c <= '9'; });
    if (wholeForm) {
        long long whole = 0;
        const auto [end, ec] = std::from_chars(body.data(), body.data() + body.size(), whole);
        if (ec == std::errc() && end == body.data() + body.size()) {
            return BoundValue{whole};
        }
    }
    return BoundValue{*value};
}

std::string numberAsText(const BoundValue& number) {
    if (const auto* whole = std::get_if<long long>(&number)) {
        return std::to_string(*whole);
    }
    return formatGeneral(std::get<double>(number));
}

double numberAsDouble(const BoundValue& number) {
    if (const auto* whole = std::get_if<long long>(&number)) {
        return static_cast<double>(*whole);
    }
    return std::get<double>(number);
}

BoundValue fromText(const std::string& text, ColumnKind target) {
    switch (target) {
        case ColumnKind::Date: {
            if (text.empty()) {
                return std::monostate{};
            }
            const std::optional<Date> date = parseDate(text);
            if (!date) {
                throw dataTypeMismatch();
            }
            return formatIsoDate(*date);
        }
        case ColumnKind::Number: {
            if (text.empty()) {
                return std::monostate{};
            }
            std::optional<BoundValue> number = numberFromText(text);
            if (!number) {
                throw dataTypeMismatch();
            }
            return std::move(*number);
        }
        case ColumnKind::Text:
        case ColumnKind::Unknown:
            break;
    }
    return text;
}

BoundValue fromNumber(const std::string& literal, ColumnKind target) {
    std::optional<BoundValue> number = numberFromText(literal);
    if (!number) {
        // Not a literal our grammar reads (the dialect lifted something unusual): let the
        // engine judge the text.
        return literal;
    }
    switch (target) {
        case ColumnKind::Date: {
            const std::optional<Date> date = dateFromSerial(numberAsDouble(*number));
            if (!date) {
                throw dataTypeMismatch();
            }
            return formatIsoDate(*date);
        }
        case ColumnKind::Text:
            // As the classic conversion writes a number as text: general form, no exponent
            // where none is needed ("1e3" is stored as "1000").
            return numberAsText(*number);
        case ColumnKind::Number:
        case ColumnKind::Unknown:
            break;
    }
    return std::move(*number);
}

BoundValue fromDate(const std::string& stored, ColumnKind target) {
    if (target == ColumnKind::Date || target == ColumnKind::Unknown) {
        return stored;
    }
    const std::optional<Date> date = parseDate(stored);
    if (!date) {
        throw dataTypeMismatch();
    }
    if (target == ColumnKind::Text) {
        return formatShortDate(*date);
    }
    return toSerial(*date);
}

}  // namespace

RuntimeError dataTypeMismatch() {
    return {err::StoreTypeMismatch, "Data type mismatch in criteria expression.", 0, "22018"};
}

ColumnKind columnKindOf(std::string_view declaredType) {
    std::string upper(declaredType);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (trimBlanks(upper).empty()) {
        return ColumnKind::Unknown;
    }
    if (contains(upper, "DATE") || contains(upper, "TIME")) {
        return ColumnKind::Date;
    }
    if (contains(upper, "CHAR") || contains(upper, "TEXT") || contains(upper, "CLOB") ||
        contains(upper, "MEMO") || contains(upper, "STRING")) {
        return ColumnKind::Text;
    }
    if (contains(upper, "BLOB") || contains(upper, "BINARY")) {
        return ColumnKind::Unknown;
    }
    return ColumnKind::Number;
}

BoundValue boundValueFor(const dialect::Parameter& parameter, ColumnKind target) {
    switch (parameter.kind) {
        case dialect::Parameter::Kind::Text:
            return fromText(parameter.value, target);
        case dialect::Parameter::Kind::Number:
            return fromNumber(parameter.value, target);
        case dialect::Parameter::Kind::Date:
            return fromDate(parameter.value, target);
    }
    return parameter.value;
}

Variant dateFromStoredText(std::string_view stored) {
    if (const std::optional<Date> date = parseDate(stored)) {
        return *date;
    }
    return std::string(stored);
}

std::optional<Date> dateFromSerial(double serial) {
    if (!std::isfinite(serial) || serial < kFirstSerialDay || serial >= kPastLastSerialDay) {
        return std::nullopt;
    }
    return fromSerial(serial);
}

ColumnKind targetColumnKind(const std::vector<TableColumn>& columns, std::string_view lowerName,
                            int position) {
    if (!lowerName.empty()) {
        for (const TableColumn& column : columns) {
            if (column.lowerName == lowerName) {
                return column.kind;
            }
        }
    } else if (position >= 0 && static_cast<std::size_t>(position) < columns.size()) {
        return columns[static_cast<std::size_t>(position)].kind;
    }
    return ColumnKind::Unknown;
}

}  // namespace quillet::engine
