#pragma once
// The schedule a report prints: the rows its own calculation produced, as the grid loaded them
// at the end of the run (the window) or as the computation gave them (quillet-schedule). Never
// read again from the store, which another window or tool may have rewritten since.

#include <string>
#include <vector>

#include "runtime/Variant.h"

namespace quillet {

class Recordset;
struct ScheduleInputs;

/// \brief Column names in the EMI table's order and the values of the rows, ordered by SN.
struct StoredSchedule {
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
};

/// A copy of the rows a client-side recordset holds (the grid's), in its order.
StoredSchedule scheduleOf(const Recordset& recordset);

/// \brief The schedule of inputs as the run would store it: the EMI columns, each figure rounded
/// as it is stored, the due dates; instalment receives the text of "EMI / Month :". Throws
/// RuntimeError as the computation does.
StoredSchedule computedSchedule(const ScheduleInputs& inputs, std::string& instalment);

}  // namespace quillet
