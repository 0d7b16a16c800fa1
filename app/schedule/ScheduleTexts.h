#pragma once
/// \file
/// \brief The texts of a schedule row, joined the two ways they leave the computation: into the
/// statement that stores the row, and into a CSV line. Both use the same R() texts.

#include <string>

#include "schedule/ScheduleComputation.h"

namespace quillet {

/// The CSV header line (with its "\n").
inline constexpr const char* kScheduleCsvHeader =
    "SN,OpeningBalance,Interest,Principal,ClosingBalance,EMIDate\n";

/// \brief Appends "insert into EMI values(i,R(opening),R(interest),R(principal),R(closing),
/// #dd/Mmm/yyyy#)" for the row.
void appendInsertStatement(std::string& out, const ScheduleComputation& computation,
                           const ScheduleRow& row);

/// Appends "i,R(opening),R(interest),R(principal),R(closing),dd/Mmm/yyyy\n".
void appendCsvLine(std::string& out, const ScheduleComputation& computation,
                   const ScheduleRow& row);

}  // namespace quillet
