#pragma once
// Helpers shared by the translator tests: a compact way to write the parameters a statement
// should produce, and printers that make a failing table row readable.

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "dialect/AccessTranslator.h"
#include "runtime/RuntimeError.h"

namespace quillet::dialect::test {

using Kind = Parameter::Kind;

/// What a lifted literal should look like; table is checked once per statement.
struct Expected {
    Kind kind;
    std::string value;
    std::string column;  // empty for a value placed by position
    int position = -1;
};

inline Expected text(std::string v, std::string column = {}, int position = -1) {
    return {Kind::Text, std::move(v), std::move(column), position};
}
inline Expected number(std::string v, std::string column = {}, int position = -1) {
    return {Kind::Number, std::move(v), std::move(column), position};
}
inline Expected date(std::string v, std::string column = {}, int position = -1) {
    return {Kind::Date, std::move(v), std::move(column), position};
}

inline const char* kindName(Kind k) {
    switch (k) {
        case Kind::Text:
            return "Text";
        case Kind::Number:
            return "Number";
        default:
            return "Date";
    }
}

inline void expectParameters(const EngineStatement& s, const std::string& table,
                             const std::vector<Expected>& expected) {
    ASSERT_EQ(s.parameters.size(), expected.size()) << s.sql;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Parameter& p = s.parameters[i];
        SCOPED_TRACE("parameter " + std::to_string(i));
        EXPECT_STREQ(kindName(p.kind), kindName(expected[i].kind));
        EXPECT_EQ(p.value, expected[i].value);
        EXPECT_EQ(p.table, table);
        EXPECT_EQ(p.column, expected[i].column);
        EXPECT_EQ(p.position, expected[i].position);
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

}  // namespace quillet::dialect::test
