// The schedule run behind Calculate, as the window performs it.
#include <exception>

#include "gui/Form1.h"
#include "report/ReportDefinitionSearch.h"
#include "report/StoredSchedule.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/RuntimeError.h"
#include "ui/MessageBox.h"

namespace quillet {

void Form1::showinDG() {
    ScheduleInputs inputs;
    inputs.amount = txtAmount()->text().toStdString();
    inputs.months = txtDuration()->text().toStdString();
    inputs.rate = txtrate()->text().toStdString();
    inputs.decimals = cmb()->currentText().toStdString();
    const QDate picked = DTP()->date();
    inputs.start = Date{picked.year(), picked.month(), picked.day()};

    // A run that fails must not leave the previous calculation's inputs on the report.
    CR.clear();
    ScheduleRunHooks hooks;
    hooks.prepareReport = [&](const std::string& instalment) {
        CR.setCalculation(ReportCalculation{inputs.amount, inputs.months, inputs.rate,
                                            inputs.decimals, inputs.start, instalment});
        CR.invoke(ReportControl::kReset);
        CR.setProperty(ReportControl::kWindowState,
                       Variant(std::int16_t{ReportControl::kWindowMaximised}));
        CR.setProperty(ReportControl::kWindowControls, Variant(true));
        CR.setProperty(ReportControl::kTitle, Variant(""));
        CR.setProperty(ReportControl::kReportFile, Variant(reportDefinitionFile().string()));
    };
    hooks.readSchedule = [this](const std::shared_ptr<Connection>& connection) {
        try {
            m_scheduleRead = readStoredSchedule(connection);
        } catch (const RuntimeError&) {
            // The grid's refresh reads the table itself, and fails as it does there.
            m_scheduleRead.reset();
        }
    };
    hooks.refreshGrid = [this] {
        ShowinnDG();
        // The report prints the rows the grid now holds, whatever later happens to the table.
        if (const RecordsetModel* model = m_grid.model(); model != nullptr && model->recordset()) {
            CR.setSchedule(scheduleOf(*model->recordset()));
        }
    };
    hooks.showEmi = [this](const std::string& text) {
        emi()->setText(QString::fromStdString(text));
    };
    try {
        const ScheduleRunOutcome outcome = runScheduleToStore(inputs, hooks);
        if (outcome.roundToRead) {
            RoundTo = outcome.roundTo;
        }
    } catch (const std::exception& e) {
        // The run traps the errors of its own steps; anything else (memory, the file system)
        // is still reported, and the window stays up instead of the program ending.
        MsgBox(e.what(), vbOKOnly, kApplicationTitle);
    }
    // Exports are offered for a schedule that this calculation stored in full, and only then.
    m_reportActions.followReport(CR);
}

}  // namespace quillet
