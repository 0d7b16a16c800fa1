#include "run/ScheduleStoreRun.h"

#include <optional>

#include "OperationFrame.h"
#include "VekClass.h"
#include "schedule/ScheduleTexts.h"
#include "ui/MessageBox.h"

namespace quillet {

namespace {

void report(const std::string& description) {
    MsgBox(description, vbOKOnly, kApplicationTitle);
}

}  // namespace

ScheduleRunOutcome runScheduleToStore(const ScheduleInputs& inputs, const ScheduleRunHooks& hooks) {
    ScheduleRunOutcome outcome;
    std::optional<ScheduleComputation> computation;
    {
        VekClass vek;
        OperationFrame frame(Trap::JumpToCheck);
        bool inTransaction = false;

        frame.step([&] { vek.connectx(); });
        frame.step([&] {
            // With the store unreachable the delete below fails on the closed connection and
            // reports that; there is nothing to begin a transaction on.
            if (vek.Con->State() == kStateOpen) {
                vek.Con->BeginTrans();
                inTransaction = true;
            }
            vek.str = "delete * from EMI";
            vek.Rs->Open(vek.str.toString(), vek.Con.shared(), kOpenKeyset, kLockReadOnly,
                         kCmdUnspecified);
        });
        frame.step([&] {
            computation.emplace(inputs);
            outcome.roundTo = computation->roundTo();
            outcome.roundToRead = true;
        });
        std::string statement;
        const int months = computation ? computation->monthCount() : 0;
        for (int i = 1; i <= months && !frame.jumped(); ++i) {
            frame.step([&] {
                const ScheduleRow row = computation->step(static_cast<std::int16_t>(i));
                if (vek.Rs->State() == kStateOpen) {
                    vek.Rs->Close();
                }
                statement.clear();
                appendInsertStatement(statement, *computation, row);
                vek.str = statement;
                vek.Rs->Open(statement, vek.Con.shared(), kOpenKeyset, kLockReadOnly,
                             kCmdUnspecified);
            });
        }
        frame.step([&] {
            if (inTransaction) {
                inTransaction = false;
                vek.Con->CommitTrans();
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
        if (frame.failed()) {
            // Rows written before the error stay, as they would without a transaction.
            if (inTransaction) {
                try {
                    vek.Con->CommitTrans();
                } catch (const RuntimeError&) {
                    vek.Con->tryRollback();
                }
            }
            outcome.failed = true;
            outcome.errorDescription = frame.err().Description;
            outcome.errorNumber = frame.err().Number;
            report(outcome.errorDescription);
        }
    }

    // The grid refresh and the instalment box stay under the trap when no error came before.
    auto refreshAndShow = [&] {
        if (hooks.refreshGrid) {
            hooks.refreshGrid();
        }
        outcome.emi = computation ? computation->result() : "0";
        if (hooks.showEmi) {
            hooks.showEmi(outcome.emi);
        }
    };
    try {
        refreshAndShow();
    } catch (const RuntimeError& e) {
        report(e.description());
        if (!outcome.failed) {
            outcome.failed = true;
            outcome.errorDescription = e.description();
            outcome.errorNumber = e.number();
            try {
                refreshAndShow();
            } catch (const RuntimeError& again) {
                report(again.description());
            }
        } else if (hooks.showEmi) {
            // The refresh failed after an earlier error: reported once, the box still filled.
            outcome.emi = computation ? computation->result() : "0";
            hooks.showEmi(outcome.emi);
        }
    }
    return outcome;
}

}  // namespace quillet
