#pragma once
/// \file
/// \brief Late binding: objects reached through properties by name, as controls handed to the
/// record-store class are.

#include <string>

#include "quillet_store_export.h"
#include "runtime/RuntimeError.h"
#include "runtime/Variant.h"

namespace quillet {

/// \brief An object whose properties are looked up by name at run time ("Text", "Value").
/// A property the object lacks raises error 438.
class QUILLET_STORE_EXPORT Dispatch {
public:
    virtual ~Dispatch() = default;

    /// Reads a property; the default raises error 438.
    virtual Variant getProperty(const std::string& name) const {
        (void)name;
        throw RuntimeError::propertyNotSupported();
    }
    /// Writes a property; the default raises error 438.
    virtual void setProperty(const std::string& name, const Variant& value) {
        (void)name;
        (void)value;
        throw RuntimeError::propertyNotSupported();
    }
};

}  // namespace quillet
