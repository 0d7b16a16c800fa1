#pragma once
// Shared by the register tests: the record fixture, and single values read straight from the
// store.

#include "engine/Recordset.h"
#include "store/records/RecordsFixture.h"

namespace quillet::testing {

using Rows = std::vector<std::vector<std::string>>;
using RegistersTest = RecordsTest;

/// The first column of the first row of a query, as the store gives it back.
inline Variant storedValue(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

}  // namespace quillet::testing
