#pragma once
/// \file
/// \brief Driver diagnostics made into the one run-time error type. The handle types are those
/// of the ODBC API (SQLSMALLINT, SQLHANDLE, SQLRETURN), spelt here without its headers.

#include <string>
#include <string_view>

#include "runtime/RuntimeError.h"

namespace quillet::odbc {

/// \brief The ODBC SQLSTATE for a driver's state: a DBMS's own state (PostgreSQL's 42601,
/// 42P01, ...) or a SQLite file's general HY000 become the ODBC class callers test.
std::string odbcState(const std::string& state, std::string_view message);

/// \brief Every diagnostic record of the handle as one error: the first record's SQLSTATE (made
/// the ODBC one) and native code, every record's message. With a prefix (a failed connection)
/// each message names its SQLSTATE. The secret never appears in the description.
RuntimeError errorFrom(short handleType, void* handle, int number, const std::string& secret,
                       const std::string& prefix = {});

/// \brief Raises errorFrom(...) with err::StoreError unless rc reports success or no data.
void check(short rc, short handleType, void* handle);

/// A failure of our own making, with the record store's number.
RuntimeError engineFailure(std::string description, std::string sqlState);

}  // namespace quillet::odbc
