#pragma once
// The grid refresh that follows a Calculate, for the benchmarks that time whole Calculates.

#include <memory>

#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "run/ScheduleStoreRun.h"

namespace quillet::bench {

/// What the window's grid refresh does after a run: a client-side recordset over the whole
/// schedule on a connection of its own. Leaves the number of rows read in rows.
inline ScheduleRunHooks gridRefreshHooks(long& rows) {
    ScheduleRunHooks hooks;
    hooks.refreshGrid = [&rows] {
        auto connection = std::make_shared<Connection>();
        connection->Open(defaultConnectionString(), "", "", -1);
        auto recordset = std::make_shared<Recordset>();
        recordset->setCursorLocation(kUseClient);
        recordset->Open("Select  * from EMI order by SN asc", connection, -1, 1, -1);
        rows = recordset->RecordCount();
    };
    return hooks;
}

}  // namespace quillet::bench
