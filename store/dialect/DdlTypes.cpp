#include "dialect/DdlTypes.h"

#include <array>

namespace quillet::dialect {

namespace {

enum class Family { Text, Number, Double, Integer, Date, Blob };

struct TypeName {
    std::string_view name;
    Family family;
};

// The Access type names and their synonyms, in capitals.
constexpr std::array kTypes{
    TypeName{"TEXT", Family::Text},         TypeName{"VARCHAR", Family::Text},
    TypeName{"CHAR", Family::Text},         TypeName{"CHARACTER", Family::Text},
    TypeName{"STRING", Family::Text},       TypeName{"ALPHANUMERIC", Family::Text},
    TypeName{"NCHAR", Family::Text},        TypeName{"NVARCHAR", Family::Text},
    TypeName{"NTEXT", Family::Text},        TypeName{"MEMO", Family::Text},
    TypeName{"LONGTEXT", Family::Text},     TypeName{"LONGCHAR", Family::Text},
    TypeName{"NOTE", Family::Text},         TypeName{"NUMBER", Family::Number},
    TypeName{"DOUBLE", Family::Double},     TypeName{"FLOAT", Family::Double},
    TypeName{"FLOAT8", Family::Double},     TypeName{"IEEEDOUBLE", Family::Double},
    TypeName{"SINGLE", Family::Double},     TypeName{"FLOAT4", Family::Double},
    TypeName{"IEEESINGLE", Family::Double}, TypeName{"REAL", Family::Double},
    TypeName{"CURRENCY", Family::Double},   TypeName{"MONEY", Family::Double},
    TypeName{"INTEGER", Family::Integer},   TypeName{"INT", Family::Integer},
    TypeName{"LONG", Family::Integer},      TypeName{"INTEGER4", Family::Integer},
    TypeName{"SHORT", Family::Integer},     TypeName{"SMALLINT", Family::Integer},
    TypeName{"INTEGER2", Family::Integer},  TypeName{"BYTE", Family::Integer},
    TypeName{"TINYINT", Family::Integer},   TypeName{"INTEGER1", Family::Integer},
    TypeName{"COUNTER", Family::Integer},   TypeName{"AUTOINCREMENT", Family::Integer},
    TypeName{"YESNO", Family::Integer},     TypeName{"BIT", Family::Integer},
    TypeName{"LOGICAL", Family::Integer},   TypeName{"LOGICAL1", Family::Integer},
    TypeName{"BOOLEAN", Family::Integer},   TypeName{"DATE", Family::Date},
    TypeName{"DATETIME", Family::Date},     TypeName{"TIME", Family::Date},
    TypeName{"TIMESTAMP", Family::Date},    TypeName{"BINARY", Family::Blob},
    TypeName{"VARBINARY", Family::Blob},    TypeName{"LONGBINARY", Family::Blob},
    TypeName{"OLEOBJECT", Family::Blob},    TypeName{"IMAGE", Family::Blob},
    TypeName{"GENERAL", Family::Blob},
};

bool equalsIgnoringCase(std::string_view written, std::string_view capitals) {
    if (written.size() != capitals.size()) {
        return false;
    }
    for (std::size_t i = 0; i < written.size(); ++i) {
        char c = written[i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != capitals[i]) {
            return false;
        }
    }
    return true;
}

bool isWholeDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string> engineColumnType(std::string_view accessType,
                                            std::optional<std::string_view> size,
                                            bool withCollation) {
    const TypeName* found = nullptr;
    for (const TypeName& type : kTypes) {
        if (equalsIgnoringCase(accessType, type.name)) {
            found = &type;
            break;
        }
    }
    if (found == nullptr) {
        return std::nullopt;
    }
    if (found->family != Family::Text) {
        if (size) {
            return std::nullopt;
        }
        switch (found->family) {
            case Family::Number:
                return "NUMBER";
            case Family::Double:
                return "DOUBLE";
            case Family::Integer:
                return "INTEGER";
            case Family::Date:
                return "DATE";
            default:
                return "BLOB";
        }
    }
    if (size && !isWholeDigits(*size)) {
        return std::nullopt;
    }
    // NOTE: Access compares text without regard to case (WHERE NAME_ = 'smith' finds "Smith"),
    // and so do the engine's NOCASE columns, for ASCII letters.
    std::string declared = size ? "TEXT(" + std::string(*size) + ")" : std::string("TEXT");
    if (withCollation) {
        declared += " COLLATE NOCASE";
    }
    return declared;
}

}  // namespace quillet::dialect
