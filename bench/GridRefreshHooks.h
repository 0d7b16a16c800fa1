#pragma once
// The grid's read of the schedule during a Calculate, for the benchmarks that time whole
// Calculates.

#include <memory>

#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"

namespace quillet::bench {

/// What the window's grid refresh reads after a run: the whole schedule into a client-side
/// recordset, on the run's own connection before its rewrite commits (readStoredSchedule, as the
/// window's readSchedule hook does). Leaves the number of rows read in rows.
inline ScheduleRunHooks gridRefreshHooks(long& rows) {
    ScheduleRunHooks hooks;
    hooks.readSchedule = [&rows](const std::shared_ptr<Connection>& connection) {
        rows = readStoredSchedule(connection)->RecordCount();
    };
    return hooks;
}

}  // namespace quillet::bench
