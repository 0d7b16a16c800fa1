#pragma once
/// \file
/// \brief One statement on a driver: binding its values, running it, fetching its rows. The
/// statement handle is the ODBC API's SQLHSTMT, spelt here without its headers.

#include <string>
#include <vector>

#include "engine/Session.h"
#include "engine/common/ValueConversion.h"
#include "runtime/Variant.h"

namespace quillet::odbc {

/// \brief The SQL type a Null or a text is bound as; whole numbers and doubles are always bound
/// as what they are.
enum class SqlBinding {
    Text,
    /// A Null goes as a double (a number column).
    Number,
    /// A Null or a text goes as a timestamp (a date column of a server that checks types).
    Timestamp,
};

/// \brief Binds values (each as its binding says) to the prepared statement, runs it and reads
/// its result. The statement is closed and its parameters reset however the run ends.
ResultTable executePrepared(void* statement, const std::vector<engine::BoundValue>& values,
                            const std::vector<SqlBinding>& bindings);

/// \brief Binds texts to the prepared query's placeholders, runs it and reads every row, each
/// value as text (Null as Null). The statement is closed and its parameters reset afterwards.
std::vector<std::vector<Variant>> queryPrepared(void* statement,
                                                const std::vector<std::string>& texts);

/// \brief Runs sql on a fresh statement and reads its result.
ResultTable executeDirect(void* statement, const std::string& sql);

/// \brief Every remaining row of the statement's result, each value as text (Null as Null).
std::vector<std::vector<Variant>> fetchTextRows(void* statement);

}  // namespace quillet::odbc
