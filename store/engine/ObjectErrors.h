#pragma once
/// \file
/// \brief The errors the connection and recordset objects raise themselves, with their classic
/// numbers and descriptions.

#include "runtime/RuntimeError.h"

namespace quillet::objectErrors {

inline RuntimeError closed() {
    return {err::StoreObjectClosed, "Operation is not allowed when the object is closed."};
}

inline RuntimeError alreadyOpen() {
    return {err::StoreObjectOpen, "Operation is not allowed when the object is open."};
}

inline RuntimeError invalidConnection() {
    return {err::StoreInvalidConnection,
            "The connection cannot be used to perform this operation. It is either closed or "
            "invalid in this context."};
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
