#include "report/StoredSchedule.h"

#include "engine/Recordset.h"
#include "runtime/Numbers.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

StoredSchedule scheduleOf(const Recordset& recordset) {
    StoredSchedule schedule;
    const int columnCount = recordset.FieldCount();
    schedule.columns.reserve(static_cast<std::size_t>(columnCount));
    for (int c = 0; c < columnCount; ++c) {
        schedule.columns.push_back(recordset.FieldName(c));
    }
    const long rowCount = recordset.RecordCount();
    schedule.rows.reserve(static_cast<std::size_t>(std::max(0L, rowCount)));
    for (long r = 0; r < rowCount; ++r) {
        std::vector<Variant> row;
        row.reserve(static_cast<std::size_t>(columnCount));
        for (int c = 0; c < columnCount; ++c) {
            row.push_back(recordset.valueAt(r, c));
        }
        schedule.rows.push_back(std::move(row));
    }
    return schedule;
}

StoredSchedule computedSchedule(const ScheduleInputs& inputs, std::string& instalment) {
    StoredSchedule schedule;
    // The EMI table's columns in its order, as the tool's CSV header names them.
    std::string header = kScheduleCsvHeader;
    header.pop_back();
    for (std::size_t start = 0; start <= header.size();) {
        const std::size_t comma = header.find(',', start);
        schedule.columns.push_back(header.substr(start, comma - start));
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    ScheduleComputation computation(inputs);
    schedule.rows.reserve(static_cast<std::size_t>(std::max<int>(0, computation.monthCount())));
    // The stored figure is the rounded text read back as a number, as the store holds it; for an
    // ordinary figure the computation knows that number without writing the text.
    const auto stored = [&](double x) {
        if (const auto value = computation.roundedValue(x)) {
            return Variant(*value);
        }
        return Variant(*parseNumber(computation.rounded(x)));
    };
    for (int i = 1; i <= computation.monthCount(); ++i) {
        const ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
        schedule.rows.push_back({Variant(static_cast<std::int32_t>(row.sn)),
                                 stored(row.openingBalance), stored(row.interest),
                                 stored(row.principal), stored(row.closingBalance),
                                 Variant(row.date.dateOnly())});
    }
    instalment = computation.result();
    return schedule;
}

}  // namespace quillet
