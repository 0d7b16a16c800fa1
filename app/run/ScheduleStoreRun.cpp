#include "run/ScheduleStoreRun.h"

#include <optional>
#include <string>
#include <vector>

#include "OperationFrame.h"
#include "VekClass.h"
#include "engine/CommittingTransaction.h"
#include "engine/Recordset.h"
#include "run/ScheduleRowWriter.h"
#include "schedule/ScheduleTexts.h"
#include "ui/MessageBox.h"

namespace quillet {

namespace {

void report(const std::string& description) {
    MsgBox(description, vbOKOnly, kApplicationTitle);
}

}  // namespace

std::shared_ptr<Recordset> readStoredSchedule(const std::shared_ptr<Connection>& connection) {
    auto recordset = std::make_shared<Recordset>();
    recordset->setActiveConnection(nullptr);
    recordset->setCursorLocation(kUseClient);
    recordset->Open("Select  * from EMI order by SN asc", connection, kOpenUnspecified,
                    kLockReadOnly, kCmdUnspecified);
    return recordset;
}

ScheduleRunOutcome runScheduleToStore(const ScheduleInputs& inputs, const ScheduleRunHooks& hooks) {
    ScheduleRunOutcome outcome;
    std::optional<ScheduleComputation> computation;
    // Each different failure of the run is shown once: a second failure with the same cause (the
    // instalment that cannot be rounded after the rows could not be, the store that still cannot
    // be opened) adds no second box.
    FailureReport failures(&report);
    {
        VekClass vek;
        // The rewrite's failure is shown at the closing check, after its transaction has ended.
        OperationFrame frame(Trap::JumpToCheck, failures, ShowFailure::AtCheck);
        {
            // The whole rewrite of EMI is one write transaction, committed on the error path too.
            std::optional<CommittingTransaction> transaction;
            frame.step([&] { vek.connectx(); });
            frame.step([&] {
                // With the store unreachable the delete below fails on the closed connection and
                // reports that; there is nothing to begin a transaction on.
                transaction.emplace(*vek.Con);
                vek.str = "delete * from EMI";
                vek.Rs->Open(vek.str.toString(), vek.Con.shared(), kOpenKeyset, kLockReadOnly,
                             kCmdUnspecified);
            });
            frame.step([&] {
                computation.emplace(inputs);
                outcome.roundTo = computation->roundTo();
                outcome.roundToRead = true;
            });
            const int months = computation ? computation->monthCount() : 0;
            std::optional<ScheduleRowWriter> rows;
            for (int i = 1; i <= months && !frame.jumped(); ++i) {
                frame.step([&] {
                    std::optional<ScheduleRow> row;
                    try {
                        row.emplace(computation->step(static_cast<std::int16_t>(i)));
                    } catch (...) {
                        // A month that cannot be computed has the rows before it written first.
                        if (rows) {
                            rows->flush();
                        }
                        throw;
                    }
                    if (!rows) {
                        rows.emplace(vek, *computation);
                    }
                    rows->write(*row, i == months);
                });
            }
            frame.step([&] {
                if (rows) {
                    rows->flush();
                }
            });
            // Read inside the rewrite's own transaction: the grid and the report show this run's
            // rows even when another desk's Calculate rewrites the table the moment it commits.
            frame.step([&] {
                if (hooks.readSchedule) {
                    hooks.readSchedule(vek.Con.shared());
                }
            });
            frame.step([&] {
                if (transaction) {
                    transaction->commit();
                }
                if (vek.Rs->State() == kStateOpen) {
                    vek.Rs->Close();
                }
                if (vek.Con->State() == kStateOpen) {
                    vek.Con->Close();
                }
            });
            frame.step([&] {
                if (hooks.prepareReport) {
                    hooks.prepareReport(computation ? computation->result() : "0");
                }
            });
        }
        if (frame.closingCheck()) {
            outcome.failed = true;
            outcome.errorDescription = frame.err().Description;
            outcome.errorNumber = frame.err().Number;
        }
    }

    // From here on every failure is trapped as well and shown as it happens; the run keeps the
    // first failure it met.
    const bool earlierError = outcome.failed;
    OperationFrame after(Trap::ContinueOnError, failures, ShowFailure::AtTrap);
    auto refreshGrid = [&] {
        if (hooks.refreshGrid) {
            hooks.refreshGrid();
        }
    };
    // A refresh that fails on a clean run is tried once more after its message.
    if (!after.step(refreshGrid) && !earlierError) {
        after.step(refreshGrid);
    }
    // The box shows R(last instalment), "0" when none was computed; when the instalment cannot
    // be rounded to the chosen decimals it stays as Calculate left it, empty.
    after.step([&] {
        const std::string text = computation ? computation->result() : "0";
        if (hooks.showEmi) {
            hooks.showEmi(text);
        }
        outcome.emi = text;
    });
    if (after.failed() && !outcome.failed) {
        outcome.failed = true;
        outcome.errorDescription = after.firstErr().Description;
        outcome.errorNumber = after.firstErr().Number;
    }
    return outcome;
}

}  // namespace quillet
