#pragma once
// Reading and writing the store directly, beside the class under test.

#include <memory>
#include <string>
#include <vector>

#include "engine/Connection.h"
#include "engine/Recordset.h"

namespace quillet::testing {

inline std::shared_ptr<Connection> openDefaultStore() {
    auto con = std::make_shared<Connection>();
    con->Open("DSN=det;userID= Admin;Password= 09octvel");
    return con;
}

/// Runs statements on a connection of its own.
inline void exec(const std::vector<std::string>& statements) {
    auto con = openDefaultStore();
    Recordset rs;
    for (const auto& s : statements) {
        rs.Open(s, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
        if (rs.State() == kStateOpen) {
            rs.Close();
        }
    }
}

/// Every row of a query, each value as text ("<Null>" for Null).
inline std::vector<std::vector<std::string>> rows(const std::string& query) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open(query, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    std::vector<std::vector<std::string>> out;
    while (!rs.Eof()) {
        std::vector<std::string> row;
        for (int i = 0; i < rs.FieldCount(); ++i) {
            row.push_back(rs.Fields(i).isNull() ? "<Null>" : rs.Fields(i).toString());
        }
        out.push_back(row);
        rs.MoveNext();
    }
    return out;
}

inline long countRows(const std::string& table) {
    return std::stol(rows("select count(*) from " + table).at(0).at(0));
}

}  // namespace quillet::testing

namespace quillet::testing {

/// The column names of a table, in their order.
inline std::vector<std::string> columnsOf(const std::string& table) {
    auto con = openDefaultStore();
    Recordset rs;
    rs.Open("select * from " + table, con, kOpenKeyset, kLockReadOnly, kCmdUnspecified);
    std::vector<std::string> names;
    for (int i = 0; i < rs.FieldCount(); ++i) {
        names.push_back(rs.FieldName(i));
    }
    return names;
}

inline bool tableExists(const std::string& table) {
    return !rows("select name from sqlite_master where type = 'table' and name = '" + table + "'")
                .empty();
}

}  // namespace quillet::testing
