#pragma once
// The schedule as CSV: the very file format quillet-schedule writes, so one reader serves both.

#include <filesystem>
#include <string>

#include "report/StoredSchedule.h"

namespace quillet {

/// \brief The CSV text: quillet-schedule's header line (SN, OpeningBalance, Interest, Principal,
/// ClosingBalance, EMIDate), then one line per row with the texts the tool writes: figures in the
/// general number form, dates as dd/Mmm/yyyy. Lines end with "\n". No totals: data only.
/// A schedule lacking one of those columns throws ReportDefinitionError (line 0).
std::string reportCsv(const StoredSchedule& schedule);

/// Writes reportCsv to file; on failure returns false and says why in error.
bool writeReportCsv(const StoredSchedule& schedule, const std::filesystem::path& file,
                    std::string& error);

}  // namespace quillet
