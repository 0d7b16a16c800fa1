#pragma once
/// \file
/// \brief How the schedule run writes its rows: each row as the statement
/// "insert into EMI values(...)"; where the engine offers it, the same insert prepared once with
/// each row's figures and date bound to it directly (the embedded store), otherwise the
/// statements sent in batches (an office server then takes a schedule in a few round trips).

#include <memory>
#include <string>
#include <vector>

#include "engine/Session.h"
#include "schedule/ScheduleComputation.h"

namespace quillet {

class VekClass;

/// \brief Writes the rows of one run through vek (connected, Con open). The first row always
/// runs as its statement; the engine is then asked for a prepared insert shaped like it, which
/// takes the rows after it. An engine without one gets the rows' statements in batches, with the
/// outcome of running them one by one: a failing row leaves the rows before it written.
/// `vek.str` holds a row's statement wherever it can still be seen: the last row's at the end,
/// or the statement of the row that failed.
class ScheduleRowWriter {
public:
    ScheduleRowWriter(VekClass& vek, const ScheduleComputation& computation)
        : m_vek(vek), m_computation(computation) {}

    /// \brief Writes row, or keeps it for the next batch; last: no row follows it. Raises what
    /// running the row's statement (or a batch holding it) raises.
    void write(const ScheduleRow& row, bool last);

    /// Sends the rows kept for a batch. Raises the first failing row's failure, with the rows
    /// before it written and `vek.str` holding its statement.
    void flush();

private:
    /// The row's values as its statement's literals read back; false when one has no such form.
    bool fillValues(const ScheduleRow& row);
    void runStatement(const ScheduleRow& row);
    void keepStatement(const ScheduleRow& row);

    VekClass& m_vek;
    const ScheduleComputation& m_computation;
    std::unique_ptr<RowInsert> m_insert;
    bool m_insertAsked = false;
    std::string m_statement;
    std::vector<RowValue> m_values;
    std::vector<std::string> m_pending;
};

}  // namespace quillet
