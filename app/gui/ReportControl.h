#pragma once
// The window's report control CR: it receives the settings of the schedule run and makes the
// printable schedule when the user asks for it (print preview, PDF or CSV export).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "report/ReportCalculation.h"
#include "report/StoredSchedule.h"
#include "runtime/Variant.h"

class QWidget;

namespace quillet {

struct ReportContent;

/// \brief The report control. The schedule run prepares it with kReset and the properties
/// kWindowState, kWindowControls, kTitle and kReportFile (the definition file) and never starts
/// the report; the menu actions do. Setting a property only records it: a missing or faulty
/// definition is reported when the report is asked for, so the calculation itself never fails
/// because of the report.
class ReportControl {
public:
    /// Member and property numbers, as the schedule run calls them.
    static constexpr int kReset = 112;
    /// How the preview window opens: 0 normal, 1 minimised (opens normal), 2 maximised.
    static constexpr int kWindowState = 67;
    /// Whether the preview shows its toolbar (zoom, page setup, print).
    static constexpr int kWindowControls = 34;
    /// A title replacing the definition's; the empty text keeps the definition's.
    static constexpr int kTitle = 13;
    /// The report definition file.
    static constexpr int kReportFile = 3;

    static constexpr int kWindowNormal = 0;
    static constexpr int kWindowMaximised = 2;

    /// \brief Member 112 resets every property to its default and forgets the report file; any
    /// other number raises error 438.
    void invoke(int dispatchId);
    /// \brief Sets a property. An unknown number raises error 438; a value of the wrong kind
    /// raises error 13, a window state outside 0..2 error 380.
    void setProperty(int dispatchId, const Variant& value);
    /// Reads a property back (error 438 for an unknown number).
    Variant property(int dispatchId) const;

    /// The loan inputs of the calculation whose schedule is stored; the window calls this just
    /// before preparing the control.
    void setCalculation(const ReportCalculation& calculation);
    /// \brief The rows of the calculation, as the grid loaded them at the end of the run. The
    /// report prints these, whatever later happens to the stored table (another window or the
    /// command-line tool may rewrite it).
    void setSchedule(StoredSchedule schedule);

    /// \brief Forgets the prepared report, the calculation and its rows. The window calls this when
    /// a calculation begins, so a calculation that fails never leaves the report of the previous
    /// inputs standing over a partly rewritten table.
    void clear();

    /// True once a report file and the calculation's rows have been set since the last reset.
    bool isPrepared() const { return !m_reportFile.empty() && m_schedule != nullptr; }
    /// The loan inputs given by setCalculation(), if any since the last clear().
    const std::optional<ReportCalculation>& calculation() const { return m_calculation; }

    /// \brief Opens the print preview of the report, modal over parent. A report that cannot be
    /// made is explained in a message box and false is returned.
    bool printPreview(QWidget* parent);
    /// Writes the report as PDF; false (after a message box) when it cannot.
    bool exportPdf(const std::filesystem::path& file);
    /// Writes the report's rows as CSV; false (after a message box) when it cannot.
    bool exportCsv(const std::filesystem::path& file);

private:
    /// Everything needed for one report, or nothing after a message saying why not.
    std::optional<ReportContent> load() const;

    int m_windowState = kWindowNormal;
    bool m_windowControls = true;
    std::string m_title;
    std::filesystem::path m_reportFile;
    std::optional<ReportCalculation> m_calculation;
    // Shared with the report made from it, which reads its rows only as pages show them.
    std::shared_ptr<const StoredSchedule> m_schedule;
};

}  // namespace quillet
