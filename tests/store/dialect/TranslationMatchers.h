#pragma once
// Helpers shared by the translator tests: a compact way to write the parameters a statement
// should produce, and a way to catch what the dialect refuses.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "runtime/RuntimeError.h"

namespace quillet::testing {

// The translator's tests speak in its own terms (Translation, Parameter, Target).
using namespace quillet::dialect;

using Kind = Parameter::Kind;

/// What a lifted literal should look like; its table is checked once per statement.
struct Expected {
    Kind kind;
    std::string value;
    std::string column;  // empty for a value placed by position
};

inline Expected text(std::string v, std::string column = {}) {
    return {Kind::Text, std::move(v), std::move(column)};
}
inline Expected number(std::string v, std::string column = {}) {
    return {Kind::Number, std::move(v), std::move(column)};
}
inline Expected date(std::string v, std::string column = {}) {
    return {Kind::Date, std::move(v), std::move(column)};
}

/// Values named by column carry no position; the others are placed by their order.
inline void expectParameters(const EngineStatement& s, const std::string& table,
                             const std::vector<Expected>& expected) {
    ASSERT_EQ(s.parameters.size(), expected.size()) << s.sql;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Parameter& p = s.parameters[i];
        SCOPED_TRACE("parameter " + std::to_string(i));
        EXPECT_EQ(p.kind, expected[i].kind);
        EXPECT_EQ(p.value, expected[i].value);
        EXPECT_EQ(p.table, table);
        EXPECT_EQ(p.column, expected[i].column);
        EXPECT_EQ(p.position, expected[i].column.empty() ? static_cast<int>(i) : -1);
    }
}

/// Runs translate and returns the RuntimeError it raised; fails the test when it raised none.
inline RuntimeError rejection(const std::string& statement) {
    try {
        const Translation t = translate(statement);
        ADD_FAILURE() << "accepted: " << statement << " -> "
                      << (t.statements.empty() ? std::string() : t.statements.front().sql);
    } catch (const RuntimeError& e) {
        return e;
    }
    return RuntimeError(0, "");
}

}  // namespace quillet::testing
