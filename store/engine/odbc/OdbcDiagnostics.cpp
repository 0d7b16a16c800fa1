#include "engine/odbc/OdbcDiagnostics.h"

#include <sql.h>
#include <sqlext.h>

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "engine/common/SqlStates.h"
#include "engine/common/StoreBusy.h"

namespace quillet::odbc {

namespace {

constexpr const char* kMasked = "********";

struct Diagnostic {
    std::string state;
    long native = 0;
    std::string message;
};

std::vector<Diagnostic> diagnosticsOf(SQLSMALLINT type, SQLHANDLE handle) {
    std::vector<Diagnostic> records;
    std::vector<SQLCHAR> message(1024);
    for (SQLSMALLINT i = 1;; ++i) {
        SQLCHAR state[SQL_SQLSTATE_SIZE + 1] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        SQLRETURN rc = SQLGetDiagRec(type, handle, i, state, &native, message.data(),
                                     static_cast<SQLSMALLINT>(message.size()), &length);
        if (rc == SQL_SUCCESS_WITH_INFO && static_cast<std::size_t>(length) >= message.size()) {
            message.resize(static_cast<std::size_t>(length) + 1);
            rc = SQLGetDiagRec(type, handle, i, state, &native, message.data(),
                               static_cast<SQLSMALLINT>(message.size()), &length);
        }
        if (!SQL_SUCCEEDED(rc)) {
            break;
        }
        const auto size =
            std::min<std::size_t>(static_cast<std::size_t>(length), message.size() - 1);
        records.push_back({reinterpret_cast<const char*>(state), static_cast<long>(native),
                           std::string(reinterpret_cast<const char*>(message.data()), size)});
    }
    return records;
}

std::string masked(std::string text, const std::string& secret) {
    if (secret.empty()) {
        return text;
    }
    for (std::size_t at = text.find(secret); at != std::string::npos;
         at = text.find(secret, at + std::char_traits<char>::length(kMasked))) {
        text.replace(at, secret.size(), kMasked);
    }
    return text;
}

}  // namespace

// NOTE: drivers pass the DBMS's own SQLSTATEs (PostgreSQL's 42601, 42P01, ...) or, for SQLite
// files, a general HY000 with the engine's words. Callers test the ODBC classes, so the state is
// made the ODBC one; the driver's own stays in the description.
std::string odbcState(const std::string& state, std::string_view message) {
    static const std::unordered_map<std::string, std::string> kServerStates = {
        {"42601", "42000"}, {"42P01", "42S02"}, {"42703", "42S22"}, {"42701", "42S21"},
        {"42P07", "42S01"}, {"23505", "23000"}, {"23502", "23000"}, {"23503", "23000"},
        {"23514", "23000"}, {"22P02", "22018"}, {"22007", "22018"}, {"22008", "22008"},
        {"40P01", "40001"}, {"57P01", "08S01"}, {"57P02", "08S01"}, {"57P03", "08001"},
        {"28P01", "28000"}, {"55P03", "HYT00"},
    };
    if (const auto found = kServerStates.find(state); found != kServerStates.end()) {
        return found->second;
    }
    if (state == "HY000") {
        return engine::sqlStateForSqliteMessage(message);
    }
    return state;
}

// With a prefix (a failed connection), every record names its SQLSTATE: the cause is all the
// user gets to go on.
RuntimeError errorFrom(short handleType, void* handle, int number, const std::string& secret,
                       const std::string& prefix) {
    const std::vector<Diagnostic> records = diagnosticsOf(handleType, handle);
    if (records.empty()) {
        return {number, prefix + "The ODBC driver reported a failure without a description.", 0,
                "HY000"};
    }
    std::string description = prefix;
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (i > 0) {
            description += '\n';
        }
        description += records[i].message;
        if (!prefix.empty() ||
            records[i].state != odbcState(records[i].state, records[i].message)) {
            description += " (SQLSTATE " + records[i].state + ")";
        }
    }
    std::string state = odbcState(records.front().state, records.front().message);
    // A lock another desk held for longer than the store waits: the statement changed nothing.
    if (records.front().state == "55P03") {
        description = prefix + std::string(engine::kStoreBusyDescription);
    }
    if (number == err::StoreError && state == "22018") {
        number = err::StoreTypeMismatch;
    }
    return {number, masked(std::move(description), secret), records.front().native,
            std::move(state)};
}

void check(short rc, short handleType, void* handle) {
    if (rc != SQL_SUCCESS && rc != SQL_SUCCESS_WITH_INFO && rc != SQL_NO_DATA) {
        throw errorFrom(handleType, handle, err::StoreError, {});
    }
}

RuntimeError engineFailure(std::string description, std::string sqlState) {
    return {err::StoreError, std::move(description), 0, std::move(sqlState)};
}

}  // namespace quillet::odbc
