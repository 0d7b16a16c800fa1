// The schedule run behind Calculate, as the window performs it.
#include "gui/Form1.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/ProgramFolder.h"

namespace quillet {

void Form1::showinDG() {
    ScheduleInputs inputs;
    inputs.amount = txtAmount()->text().toStdString();
    inputs.months = txtDuration()->text().toStdString();
    inputs.rate = txtrate()->text().toStdString();
    inputs.decimals = cmb()->currentText().toStdString();
    const QDate picked = DTP()->date();
    inputs.start = Date{picked.year(), picked.month(), picked.day()};

    ScheduleRunHooks hooks;
    hooks.refreshGrid = [this] { ShowinnDG(); };
    hooks.showEmi = [this](const std::string& text) {
        emi()->setText(QString::fromStdString(text));
    };
    const ScheduleRunOutcome outcome = runScheduleToStore(inputs, hooks);
    if (outcome.roundToRead) {
        RoundTo = outcome.roundTo;
    }
}

}  // namespace quillet
