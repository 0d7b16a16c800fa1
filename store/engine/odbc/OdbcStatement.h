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

/// \brief How one database system's driver is best spoken to; its rules decide.
struct DriverHabits {
    /// A result column's values are read by the driver's concise SQL type; otherwise by the type
    /// name it reports (a SQLite file, whose declared type names are what decides there).
    bool familiesFromSqlType = false;
    /// A double goes as the shortest decimal text that reads back as the same double, so that an
    /// exact-decimal column stores 6102.05 and not the double's 17-digit neighbour.
    bool doublesAsShortestText = false;
    /// Rows of parameters go to the driver as arrays in one execute (the server receives them
    /// in a few round trips instead of one per row).
    bool bindsParameterArrays = false;
    /// Rows of one INSERT go as one statement of many rows: the server parses, plans and runs
    /// one statement where it would as many as there are rows.
    bool insertsManyRowsAtOnce = false;
    /// A result's rows are fetched many at a time into bound buffers (the driver then converts
    /// a rowset in one call instead of one call per value).
    bool fetchesRowsets = false;
};

/// \brief Binds values (each as its binding says) to the prepared statement, runs it and reads
/// its result. The statement is closed and its parameters reset however the run ends.
ResultTable executePrepared(void* statement, const std::vector<engine::BoundValue>& values,
                            const std::vector<SqlBinding>& bindings, const DriverHabits& habits);

/// \brief Binds every row of values as parameter arrays (each value as text, Null as Null; each
/// column's SQL type as its binding says) and runs the prepared statement once for all rows.
/// The statement is closed and its parameters and array size reset however the run ends.
void executeArray(void* statement, const std::vector<std::vector<engine::BoundValue>>& rows,
                  const std::vector<SqlBinding>& bindings, const DriverHabits& habits);

/// \brief Binds rows [first, first + count) of values, row after row, to the placeholders of a
/// prepared statement that writes that many rows at once (each value as text, Null as Null; each
/// column's SQL type as its binding says) and runs it. The statement is closed and its
/// parameters reset however the run ends.
void executeRows(void* statement, const std::vector<std::vector<engine::BoundValue>>& rows,
                 std::size_t first, std::size_t count, const std::vector<SqlBinding>& bindings,
                 const DriverHabits& habits);

/// \brief Binds texts to the prepared query's placeholders, runs it and reads every row, each
/// value as text (Null as Null). The statement is closed and its parameters reset afterwards.
std::vector<std::vector<Variant>> queryPrepared(void* statement,
                                                const std::vector<std::string>& texts);

/// \brief Runs sql on a fresh statement and reads its result.
ResultTable executeDirect(void* statement, const std::string& sql, const DriverHabits& habits);

/// \brief Every remaining row of the statement's result, each value as text (Null as Null).
std::vector<std::vector<Variant>> fetchTextRows(void* statement);

}  // namespace quillet::odbc
