#pragma once
// The stored schedule as the grid reads it: the whole EMI table in month order.

#include <string>
#include <vector>

#include "runtime/Variant.h"

namespace quillet {

/// \brief The column names of the EMI table and the values of its rows, ordered by SN.
struct StoredSchedule {
    std::vector<std::string> columns;
    std::vector<std::vector<Variant>> rows;
};

/// \brief Reads the EMI table from the data source "det" over a connection of its own, with the
/// grid's query. Throws RuntimeError when the store cannot be opened or the query fails.
StoredSchedule readStoredSchedule();

}  // namespace quillet
