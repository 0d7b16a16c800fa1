#pragma once
// Shared by the register tests: a fresh store and a VekClass per test, values read straight from
// the store, and the messages shown.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VekClass.h"
#include "engine/Recordset.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"

namespace quillet::testing {

using Rows = std::vector<std::vector<std::string>>;

/// The first column of the first row of a query, as the store gives it back.
inline Variant storedValue(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

class RegistersTest : public ::testing::Test {
protected:
    /// Messages of the test, as "prompt|buttons|title".
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : store.shown()) {
            out.push_back(m.prompt + "|" + std::to_string(m.buttons) + "|" + m.title);
        }
        return out;
    }

    TempStore store;
    VekClass vek;
};

}  // namespace quillet::testing
