#include "report/StoredSchedule.h"

#include <memory>

#include "engine/Connection.h"
#include "engine/Recordset.h"

namespace quillet {

namespace {

// The grid's connection and query: the report must show exactly the rows the grid shows.
constexpr const char* kConnectionString = "DSN=det;userID= Admin;Password= 09octvel";
constexpr const char* kScheduleQuery = "Select  * from EMI order by SN asc";

}  // namespace

StoredSchedule readStoredSchedule() {
    auto connection = std::make_shared<Connection>();
    connection->Open(kConnectionString, {}, {}, -1);
    Recordset rs;
    rs.setCursorLocation(kUseClient);
    rs.Open(kScheduleQuery, connection, kOpenUnspecified, kLockReadOnly, kCmdUnspecified);
    StoredSchedule schedule;
    const int columnCount = rs.FieldCount();
    schedule.columns.reserve(static_cast<std::size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        schedule.columns.push_back(rs.FieldName(c));
    }
    const long rowCount = rs.RecordCount();
    schedule.rows.reserve(static_cast<std::size_t>(rowCount));
    for (long r = 0; r < rowCount; ++r) {
        std::vector<Variant> row;
        row.reserve(static_cast<std::size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) {
            row.push_back(rs.valueAt(r, c));
        }
        schedule.rows.push_back(std::move(row));
    }
    rs.Close();
    connection->Close();
    return schedule;
}

}  // namespace quillet
