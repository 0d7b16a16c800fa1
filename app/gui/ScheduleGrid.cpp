// Loading the stored schedule into the window's grid.
#include "VekClass.h"
#include "engine/Connection.h"
#include "engine/Recordset.h"
#include "gui/Form1.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/RuntimeError.h"

namespace quillet {

void Form1::ShowinnDG() {
    std::shared_ptr<Recordset> recordset = std::move(m_scheduleRead);
    m_scheduleRead.reset();
    if (!recordset) {
        // New objects on every call: the grid keeps the recordset it is bound to until the next
        // call binds another one.
        auto connection = std::make_shared<Connection>();
        try {
            connection->Open(defaultConnectionString(), "", "", -1);
        } catch (const RuntimeError&) {
            // The store cannot be opened: the caller reports it; the grid shows nothing stale.
            m_grid.setDataSource(nullptr);
            throw;
        }
        try {
            recordset = readStoredSchedule(connection);
        } catch (const RuntimeError&) {
            // From the query on, a failure ends the refresh silently; what was set up stays.
            return;
        }
    }
    m_grid.setDataSource(recordset);
    m_grid.setColumnNumberFormat(5, "dd/MMM/yyyy");
    m_grid.setColumnWidth(0, 800);
    for (int column = 1; column <= 5; ++column) {
        m_grid.setColumnWidth(column, 2000);
    }
}

}  // namespace quillet
