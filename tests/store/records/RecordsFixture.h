#pragma once
// Shared by the record family tests: a fresh store and a VekClass per test, and the store read
// directly beside the class.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "VekClass.h"
#include "runtime/Date.h"
#include "support/FakeControls.h"
#include "support/StoreAccess.h"
#include "support/TempStore.h"
#include "ui/MessageBox.h"

namespace quillet::testing {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

/// Text boxes that start out holding "old".
inline std::vector<std::shared_ptr<FakeControl>> textBoxes(int count) {
    std::vector<std::shared_ptr<FakeControl>> boxes;
    for (int i = 0; i < count; ++i) {
        boxes.push_back(FakeControl::textBox("old"));
    }
    return boxes;
}

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
