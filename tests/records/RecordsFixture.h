#pragma once
// Shared by the record family tests: a fresh store and a VekClass per test, the store read
// directly beside the class, and a message recorder that several threads may use at once.

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "VekClass.h"
#include "engine/Recordset.h"
#include "runtime/Date.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "ui/MessageBox.h"

namespace quillet::testing {

/// The first column of the first row of a query, as the store gives it back.
inline Variant storedValue(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

/// Text boxes that start out holding "old".
inline std::vector<std::shared_ptr<FakeControl>> textBoxes(int count) {
    std::vector<std::shared_ptr<FakeControl>> boxes;
    for (int i = 0; i < count; ++i) {
        boxes.push_back(FakeControl::textBox("old"));
    }
    return boxes;
}

/// Records messages from several threads; answers OK.
class LockedMessageBoxes : public MessageBoxService {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override {
        const std::lock_guard<std::mutex> lock(m_mutex);
        shown.push_back({prompt, buttons, title});
        return vbOK;
    }
    std::vector<ShownMessage> shown;

private:
    std::mutex m_mutex;
};

class RecordsTest : public ::testing::Test {
protected:
    const std::vector<ShownMessage>& shown() const { return store.shown(); }

    /// Messages of the test, as "prompt|buttons|title".
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : shown()) {
            out.push_back(m.prompt + "|" + std::to_string(m.buttons) + "|" + m.title);
        }
        return out;
    }

    static std::string todayText() { return formatShortDate(today()); }

    TempStore store;
    VekClass vek;
};

}  // namespace quillet::testing
