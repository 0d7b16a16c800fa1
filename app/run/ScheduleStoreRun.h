#pragma once
/// \file
/// \brief The work behind Calculate, without the window: rewrite the EMI table with the schedule
/// computed from the inputs, prepare the report, refresh the grid, show the instalment.

#include <functional>
#include <memory>
#include <string>

#include "schedule/ScheduleComputation.h"

namespace quillet {

class Connection;
class Recordset;

/// \brief The stored schedule as the grid shows it: every row of EMI by serial, read at once
/// into a client-side recordset that outlives its connection. Raises a RuntimeError.
std::shared_ptr<Recordset> readStoredSchedule(const std::shared_ptr<Connection>& connection);

/// \brief What the run asks of the window (or of the command-line tool).
struct ScheduleRunHooks {
    /// Sets up the report control for the stored schedule (normal path only); gets the
    /// instalment text of the calculation.
    std::function<void(const std::string& instalment)> prepareReport;
    /// Reads the stored schedule for the grid on the run's own connection, after the last row
    /// and before the rewrite commits: another desk's Calculate waits for this run's write
    /// transaction, so what is read here is this run's schedule and nothing else. Called on the
    /// normal path only; may raise a RuntimeError.
    std::function<void(const std::shared_ptr<Connection>&)> readSchedule;
    /// Reloads the grid from the store (from what readSchedule read, when it read); may raise a
    /// RuntimeError.
    std::function<void()> refreshGrid;
    /// Writes the instalment text into the "EMI / Month :" box.
    std::function<void(const std::string&)> showEmi;
};

/// \brief What a run left behind.
struct ScheduleRunOutcome {
    bool failed = false;           ///< an error ended the run early
    std::string errorDescription;  ///< its description, as shown to the user
    int errorNumber = 0;           ///< its number (negative: the record store failed)
    std::string emi;               ///< the text given to showEmi
    double roundTo = 0;            ///< the decimals read at the start (kept by the window)
    bool roundToRead = false;
};

/// \brief Runs one calculation against the data source "det" through a fresh VekClass.
///
/// One trap covers the run: the first failing step skips the rest and its description is shown
/// (OK only, no icon, titled "Quillet"); rows written before it stay. The whole rewrite of EMI
/// is one write transaction, committed on the normal path and on the error path alike, so a
/// schedule is never half-written by a crash and the run is fast. The grid refresh and the
/// instalment box are trapped too, after an earlier error as well: each different failure is
/// shown once, the run always returns normally, and the box gets the instalment rounded, "0"
/// when none was computed, or nothing when the chosen decimals cannot round it.
ScheduleRunOutcome runScheduleToStore(const ScheduleInputs& inputs, const ScheduleRunHooks& hooks);

}  // namespace quillet
