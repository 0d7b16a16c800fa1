#pragma once
// Shared by the register tests: one value read straight from the store.

#include <string>

#include "engine/Recordset.h"
#include "support/StoreAccess.h"

namespace quillet::testing {

/// The first column of the first row of a query, as the store gives it back.
inline Variant storedValue(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

}  // namespace quillet::testing
