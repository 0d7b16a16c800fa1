#pragma once
// The record-store contract, written once against Connection and Recordset and run for every
// engine: each engine provides a way to make an empty data source for one test.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "runtime/RuntimeError.h"
#include "support/TempStore.h"

namespace quillet::testing {

struct EngineUnderTest {
    std::string name;
    /// Prepares an empty data source inside the test's own data folder and returns the
    /// connection string that reaches it.
    std::function<std::string(quillet::testing::TempStore&)> prepare;
};

inline void PrintTo(const EngineUnderTest& engine, std::ostream* out) {
    *out << engine.name;
}

/// The error f raises; a test failure when it raises none.
template <class F>
RuntimeError raisedBy(F&& f) {
    try {
        std::forward<F>(f)();
    } catch (const RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "expected a RuntimeError";
    return RuntimeError(0, "none raised");
}

/// Runs a statement the way the record operations do: through a recordset.
inline void run(const std::shared_ptr<Connection>& connection, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, connection, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
}

/// The error number a statement fails with; a test failure when it runs.
inline int failureOf(const std::shared_ptr<Connection>& connection, const std::string& sql) {
    return raisedBy([&] { run(connection, sql); }).number();
}

inline std::unique_ptr<Recordset> query(const std::shared_ptr<Connection>& connection,
                                        const std::string& sql) {
    auto rs = std::make_unique<Recordset>();
    rs->Open(sql, connection, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    return rs;
}

inline Variant scalar(const std::shared_ptr<Connection>& connection, const std::string& sql) {
    return query(connection, sql)->Fields(0);
}

/// The first column of every row a query returns, in order.
inline std::vector<Variant> firstColumn(const std::shared_ptr<Connection>& connection,
                                        const std::string& sql) {
    std::vector<Variant> values;
    for (auto rs = query(connection, sql); !rs->Eof(); rs->MoveNext()) {
        values.push_back(rs->Fields(0));
    }
    return values;
}

/// What the stock sqlite3 shell prints for a statement on a file.
inline std::string shell(const std::filesystem::path& file, const std::string& sql) {
    const std::string command = "sqlite3 -batch '" + file.string() + "' \"" + sql + "\" 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), &::pclose);
    std::string out;
    std::array<char, 512> buffer{};
    while (pipe && std::fgets(buffer.data(), buffer.size(), pipe.get()) != nullptr) {
        out += buffer.data();
    }
    return out;
}

inline long count(const std::shared_ptr<Connection>& connection, const std::string& table) {
    return scalar(connection, "select count(*) from " + table).toLong();
}

class EngineContract : public ::testing::TestWithParam<EngineUnderTest> {
protected:
    void SetUp() override {
        m_connectionString = GetParam().prepare(m_home);
        if (m_connectionString.empty()) {
            GTEST_SKIP() << GetParam().name << ": no such back end in this run";
        }
    }

    std::shared_ptr<Connection> connect() const {
        auto connection = std::make_shared<Connection>();
        connection->setConnectionString(m_connectionString);
        connection->Open("", "", "", -1);
        return connection;
    }

    /// A table of every column kind, created through the dialect as a caller would.
    static void createProbe(const std::shared_ptr<Connection>& connection) {
        run(connection,
            "CREATE TABLE Probe (SN NUMBER, Name TEXT(50), Born DATE, Amount DOUBLE, "
            "Code Integer)");
    }

    quillet::testing::TempStore m_home;
    std::string m_connectionString;
};

}  // namespace quillet::testing

namespace quillet {

/// Failure messages show a value with its kind.
inline void PrintTo(const Variant& value, std::ostream* out) {
    static constexpr const char* kTypes[] = {"Empty",  "Null", "Boolean", "Integer", "Long",
                                             "Double", "Date", "String",  "Object"};
    *out << kTypes[static_cast<int>(value.type())];
    if (!value.isNull() && value.type() != Variant::Type::Object) {
        *out << " " << value.toString();
    }
}

}  // namespace quillet
