#include "runtime/Variant.h"

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
            const double serial = toDouble();
            if (serial < -657434.0 || serial >= 2958466.0) {
                throw RuntimeError::overflow();
            }
            return fromSerial(serial);
        }
    }
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
