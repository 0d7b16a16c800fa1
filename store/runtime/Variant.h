#pragma once
/// \file
/// \brief The classic Variant: a value that says which kind it holds.

#include <cstdint>
#include <memory>
#include <string>
#include <variant>

#include "quillet_store_export.h"
#include "runtime/Date.h"

namespace quillet {

class Dispatch;

/// \brief Empty, Null, Boolean, Integer (16-bit), Long (32-bit), Double, Date, String or an
/// object reference. Conversions follow the classic BASIC rules: Empty reads as "" or 0, a Null
/// cannot be converted (error 94), text that is not a number gives error 13, an Integer that does
/// not fit gives error 6. Nothing quietly turns a Null into 0 or "".
class QUILLET_STORE_EXPORT Variant {
public:
    enum class Type { Empty, Null, Boolean, Integer, Long, Double, Date, String, Object };

    Variant() = default;
    Variant(bool b) : m_value(b) {}
    Variant(std::int16_t i) : m_value(i) {}
    Variant(std::int32_t l) : m_value(l) {}
    Variant(long long l) : m_value(static_cast<double>(l)) { normaliseWide(l); }
    Variant(long l) : m_value(static_cast<double>(l)) { normaliseWide(l); }
    Variant(double d) : m_value(d) {}
    Variant(const Date& d) : m_value(d) {}
    Variant(std::string s) : m_value(std::move(s)) {}
    Variant(const char* s) : m_value(std::string(s)) {}
    Variant(std::shared_ptr<Dispatch> o) : m_value(std::move(o)) {}

    static Variant null() {
        Variant v;
        v.m_value = NullTag{};
        return v;
    }

    Type type() const { return static_cast<Type>(m_value.index()); }
    bool isEmpty() const { return type() == Type::Empty; }
    bool isNull() const { return type() == Type::Null; }
    bool isNumber() const {
        const Type t = type();
        return t == Type::Integer || t == Type::Long || t == Type::Double || t == Type::Boolean;
    }

    /// Text of the value: numbers in the general form, dates in the short date form, Booleans as
    /// "True"/"False", Empty as "". Null raises error 94; an object raises error 13.
    std::string toString() const;
    /// Number of the value: Empty 0, True -1, text that reads as a number, a date as its serial.
    double toDouble() const;
    /// 16-bit whole number, halves to even; error 6 outside the range.
    std::int16_t toInteger() const;
    /// 32-bit whole number, halves to even; error 6 outside the range.
    std::int32_t toLong() const;
    /// A date: from a date, a number (its serial), or text in an accepted date form (error 13
    /// otherwise). Empty is 30/12/1899.
    Date toDate() const;
    /// True for a nonzero number or "True"; error 13 for other text.
    bool toBool() const;
    /// The object reference; error 424 "Object required" for anything else.
    const std::shared_ptr<Dispatch>& toObject() const;

    /// toString() with a fallback for Empty/Null instead of an error.
    std::string toStringOr(const std::string& fallback) const {
        return isNull() || isEmpty() ? fallback : toString();
    }

    friend bool operator==(const Variant& a, const Variant& b) { return a.m_value == b.m_value; }

    /// \brief The sum as the classic runtime adds two variants: in the wider of the two number
    /// types (Integer, Long, Double; Empty and Boolean count as Integer, text that reads as a
    /// number as Double), widening further when the sum does not fit (Integer to Long, Long to
    /// Double). A date plus a number is a date; two texts are joined; Null gives Null.
    friend Variant operator+(const Variant& a, const Variant& b);

private:
    struct NullTag {
        bool operator==(const NullTag&) const = default;
    };
    void normaliseWide(long long l) {
        if (l >= INT32_MIN && l <= INT32_MAX) {
            m_value = static_cast<std::int32_t>(l);
        }
    }

    std::variant<std::monostate, NullTag, bool, std::int16_t, std::int32_t, double, Date,
                 std::string, std::shared_ptr<Dispatch>>
        m_value;
};

QUILLET_STORE_EXPORT Variant operator+(const Variant& a, const Variant& b);

}  // namespace quillet
