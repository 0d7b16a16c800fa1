#pragma once
// Shared by the record family tests: a fresh store and a VekClass per test, and the store read
// directly beside the class.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
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

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using Rows = std::vector<std::vector<std::string>>;

/// Text boxes that start out holding "old".
inline std::vector<std::shared_ptr<FakeControl>> textBoxes(int count) {
    std::vector<std::shared_ptr<FakeControl>> boxes;
    for (int i = 0; i < count; ++i) {
        boxes.push_back(FakeControl::textBox("old"));
    }
    return boxes;
}

/// The text each control shows.
inline std::vector<std::string> textsOf(const std::vector<std::shared_ptr<FakeControl>>& controls) {
    std::vector<std::string> texts;
    for (const auto& control : controls) {
        texts.push_back(control->text());
    }
    return texts;
}

/// The first column of the first row of a query, as the store gives it back.
inline Variant storedValue(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs.Fields(0);
}

/// The caller's variables of one SavePersonnel call.
struct PersonnelForm {
    enum { kName = 1, kDesignation = 10 };
    /// The fifteen texts the save trims, in parameter order (date of birth and code aside).
    std::array<std::string, 15> texts = {"Staff",  "Asha Rao", "12 Hill Rd", "Pune",   "020-1",
                                         "98-1",   "S-9",      "OUT",        "a@x.in", "new",
                                         "Fitter", "Lathe",    "P-7",        "North",  "-"};
    std::string DOB = "25/03/1970";
    std::string hindiname = "आशा";

    bool saveWith(VekClass& vek, const std::string& table = "EmpDetail") {
        auto& t = texts;
        return vek.SavePersonnel(t[0], t[1], t[2], t[3], t[4], t[5], DOB, t[6], t[7], t[8], t[9],
                                 t[10], t[11], t[12], t[13], t[14], 4, hindiname, table);
    }
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
