#include "runtime/Variant.h"

#include <algorithm>
#include <cmath>

#include "runtime/Dispatch.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

namespace quillet {

std::string Variant::toString() const {
    switch (type()) {
        case Type::Empty:
            return {};
        case Type::Null:
            throw RuntimeError::invalidUseOfNull();
        case Type::Boolean:
            return std::get<bool>(m_value) ? "True" : "False";
        case Type::Integer:
            return std::to_string(std::get<std::int16_t>(m_value));
        case Type::Long:
            return std::to_string(std::get<std::int32_t>(m_value));
        case Type::Double:
            return formatGeneral(std::get<double>(m_value));
        case Type::Date:
            return formatShortDate(std::get<Date>(m_value));
        case Type::String:
            return std::get<std::string>(m_value);
        case Type::Object:
            break;
    }
    throw RuntimeError::typeMismatch();
}

double Variant::toDouble() const {
    switch (type()) {
        case Type::Empty:
            return 0.0;
        case Type::Null:
            throw RuntimeError::invalidUseOfNull();
        case Type::Boolean:
            return std::get<bool>(m_value) ? -1.0 : 0.0;
        case Type::Integer:
            return std::get<std::int16_t>(m_value);
        case Type::Long:
            return std::get<std::int32_t>(m_value);
        case Type::Double:
            return std::get<double>(m_value);
        case Type::Date:
            return toSerial(std::get<Date>(m_value));
        case Type::String: {
            const auto n = parseNumber(std::get<std::string>(m_value));
            if (!n) {
                throw RuntimeError::typeMismatch();
            }
            return *n;
        }
        case Type::Object:
            break;
    }
    throw RuntimeError::typeMismatch();
}

std::int16_t Variant::toInteger() const {
    if (type() == Type::Integer) {
        return std::get<std::int16_t>(m_value);
    }
    return toInteger16(toDouble());
}

std::int32_t Variant::toLong() const {
    if (type() == Type::Long) {
        return std::get<std::int32_t>(m_value);
    }
    return toLong32(toDouble());
}

Date Variant::toDate() const {
    switch (type()) {
        case Type::Date:
            return std::get<Date>(m_value);
        case Type::Null:
            throw RuntimeError::invalidUseOfNull();
        case Type::String: {
            const auto d = parseDate(std::get<std::string>(m_value));
            if (!d) {
                throw RuntimeError::typeMismatch();
            }
            return *d;
        }
        case Type::Object:
            throw RuntimeError::typeMismatch();
        default: {
            return fromSerial(toDouble());
        }
    }
}

namespace {

// Where a value stands in the widening order of sums.
enum class SumType { Integer, Long, Double, Date };

SumType sumTypeOf(Variant::Type type) {
    switch (type) {
        case Variant::Type::Empty:
        case Variant::Type::Boolean:
        case Variant::Type::Integer:
            return SumType::Integer;
        case Variant::Type::Long:
            return SumType::Long;
        case Variant::Type::Double:
        case Variant::Type::String:
            return SumType::Double;
        case Variant::Type::Date:
            return SumType::Date;
        default:
            throw RuntimeError::typeMismatch();
    }
}

}  // namespace

Variant operator+(const Variant& a, const Variant& b) {
    if (a.isNull() || b.isNull()) {
        return Variant::null();
    }
    if (a.type() == Variant::Type::String && b.type() == Variant::Type::String) {
        return std::get<std::string>(a.m_value) + std::get<std::string>(b.m_value);
    }
    const SumType type = std::max(sumTypeOf(a.type()), sumTypeOf(b.type()));
    // Integers and Longs add exactly in double precision.
    const double sum = a.toDouble() + b.toDouble();
    switch (type) {
        case SumType::Integer:
            if (sum >= -32768.0 && sum <= 32767.0) {
                return static_cast<std::int16_t>(sum);
            }
            [[fallthrough]];
        case SumType::Long:
            if (sum >= -2147483648.0 && sum <= 2147483647.0) {
                return static_cast<std::int32_t>(sum);
            }
            return sum;
        case SumType::Double:
            return sum;
        case SumType::Date:
            return fromSerial(sum);
    }
    return sum;
}

bool Variant::toBool() const {
    if (type() == Type::Boolean) {
        return std::get<bool>(m_value);
    }
    if (type() == Type::String) {
        const std::string& s = std::get<std::string>(m_value);
        if (s == "True" || s == "true" || s == "TRUE") {
            return true;
        }
        if (s == "False" || s == "false" || s == "FALSE") {
            return false;
        }
    }
    return toDouble() != 0.0;
}

const std::shared_ptr<Dispatch>& Variant::toObject() const {
    if (type() != Type::Object || !std::get<std::shared_ptr<Dispatch>>(m_value)) {
        throw RuntimeError::objectRequired();
    }
    return std::get<std::shared_ptr<Dispatch>>(m_value);
}

}  // namespace quillet
