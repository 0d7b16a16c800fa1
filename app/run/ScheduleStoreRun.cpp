#include "run/ScheduleStoreRun.h"

#include <functional>
#include <optional>
#include <set>

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
    std::set<std::string> reported;
    auto reportOnce = [&reported](const std::string& description) {
        if (reported.insert(description).second) {
            report(description);
        }
    };
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
            reportOnce(outcome.errorDescription);
        }
    }

    // From here on every failure is trapped as well, and each one is shown once: a second
    // failure with the same cause (the instalment that cannot be rounded after the rows could
    // not be, the store that still cannot be opened) adds no second box.
    const bool earlierError = outcome.failed;
    auto trapped = [&](const std::function<void()>& step) {
        try {
            step();
            return true;
        } catch (const RuntimeError& e) {
            if (!outcome.failed) {
                outcome.failed = true;
                outcome.errorDescription = e.description();
                outcome.errorNumber = e.number();
            }
            reportOnce(e.description());
            return false;
        }
    };
    auto refreshGrid = [&] {
        if (hooks.refreshGrid) {
            hooks.refreshGrid();
        }
    };
    // A refresh that fails on a clean run is tried once more after its message.
    if (!trapped(refreshGrid) && !earlierError) {
        trapped(refreshGrid);
    }
    // The box shows R(last instalment), "0" when none was computed; when the instalment cannot
    // be rounded to the chosen decimals it stays as Calculate left it, empty.
    trapped([&] {
        const std::string text = computation ? computation->result() : "0";
        if (hooks.showEmi) {
            hooks.showEmi(text);
        }
        outcome.emi = text;
    });
    return outcome;
}

}  // namespace quillet
