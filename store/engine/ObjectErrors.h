#pragma once
/// \file
/// \brief The errors the connection and recordset objects raise themselves, with their classic
/// numbers and descriptions.

#include <string>

#include "runtime/RuntimeError.h"

namespace quillet::objectErrors {

/// The description followed by the reason the connection could not be opened, when one is known:
/// a failure on a closed connection then says why it is closed.
inline std::string withCause(std::string description, const std::string& cause) {
    if (!cause.empty()) {
        description += ' ';
        description += cause;
    }
    return description;
}

inline RuntimeError closed(const std::string& cause = {}) {
    return {err::StoreObjectClosed,
            withCause("Operation is not allowed when the object is closed.", cause)};
}

inline RuntimeError alreadyOpen() {
    return {err::StoreObjectOpen, "Operation is not allowed when the object is open."};
}

inline RuntimeError invalidConnection(const std::string& cause = {}) {
    return {err::StoreInvalidConnection,
            withCause("The connection cannot be used to perform this operation. It is either "
                      "closed or invalid in this context.",
                      cause)};
}

inline RuntimeError noCurrentRecord() {
    return {err::StoreNoCurrentRecord,
            "Either BOF or EOF is True, or the current record has been deleted. Requested "
            "operation requires a current record."};
}

inline RuntimeError itemNotFound() {
    return {err::StoreItemNotFound,
            "Item cannot be found in the collection corresponding to the requested name or "
            "ordinal."};
}

}  // namespace quillet::objectErrors
