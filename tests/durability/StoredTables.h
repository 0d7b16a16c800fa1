#pragma once
// Reading the embedded store through a session of its own, for tests that inspect what other
// processes wrote.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/DataSource.h"

namespace quillet::testing {

/// Every value of a query's result as text, row by row.
inline std::vector<std::vector<std::string>> storedRows(const std::string& sql) {
    const auto session = openDataSource({kDefaultDataSource, {}, {}});
    std::vector<std::vector<std::string>> rows;
    for (const auto& row : session->execute(sql).rows) {
        auto& texts = rows.emplace_back();
        for (const auto& value : row) {
            texts.push_back(value.isNull() ? "Null" : value.toString());
        }
    }
    return rows;
}

/// The engine's own check of the store file: "ok" alone when every page and index is sound.
inline std::string integrityOfStore() {
    const auto rows = storedRows("PRAGMA integrity_check");
    return rows.size() == 1 ? rows[0].at(0) : std::to_string(rows.size()) + " faults";
}

}  // namespace quillet::testing
