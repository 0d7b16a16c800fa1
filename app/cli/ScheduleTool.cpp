#include "cli/ScheduleTool.h"

#include <cerrno>
#include <ostream>
#include <system_error>

#include "cli/InputDiagnosis.h"
#include "cli/ScheduleOutput.h"
#include "cli/StoreBackup.h"
#include "cli/StoreMaintenance.h"
#include "cli/ToolMessages.h"
#include "cli/ToolOptions.h"
#include "cli/ToolReports.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/Numbers.h"
#include "runtime/RuntimeError.h"

namespace quillet {

namespace {

// The window's three checks, with its messages, in its order.
std::vector<std::string> checkMessages(const ScheduleInputs& inputs) {
    std::vector<std::string> messages;
    if (!isNumeric(inputs.amount)) {
        messages.emplace_back("Please enter Amount in Numeric");
    }
    if (!isNumeric(inputs.months)) {
        messages.emplace_back("Please enter Duration in Numeric");
    }
    if (!isNumeric(inputs.rate)) {
        messages.emplace_back("Please enter Interest Rate in Numeric");
    }
    return messages;
}

// Errors the record store raises carry negative numbers; the run's own (Overflow, Type
// mismatch) are the classic positive ones.
int statusOfRunError(int number) {
    return number < 0 ? kToolOutputFailed : kToolInputFailed;
}

// The whole of stdout in one go, once the status is known to be 0.
int writeStandardOutput(std::ostream& out, const std::string& text, ToolMessages& messages) {
    errno = 0;
    out << text;
    out.flush();
    if (out) {
        return kToolDone;
    }
    const int reason = errno;
    messages.diagnose(
        "cannot write to standard output: " +
        (reason != 0 ? std::generic_category().message(reason) : std::string("write error")));
    return kToolOutputFailed;
}

// What Calculate does with the same inputs: empty the EMI table, store the schedule, report the
// first failure (through the messages). With inputs that failed their checks the run deletes and
// then fails on the same text, as in the window.
int runAgainstStore(const ToolOptions& options) {
    const ScheduleRunOutcome outcome = runScheduleToStore(options.inputs, {});
    return outcome.failed ? statusOfRunError(outcome.errorNumber) : kToolDone;
}

}  // namespace

int runScheduleTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ToolMessages messages(err);
    ToolOptions options;
    if (const auto problem = parseToolOptions(args, options)) {
        messages.diagnose(*problem);
        messages.diagnose(std::string("try '") + kToolName + " --help'");
        return kToolUsage;
    }
    if (options.help) {
        return writeStandardOutput(out, toolHelpText(), messages);
    }
    if (options.version) {
        return writeStandardOutput(out, std::string(kToolName) + " " + QUILLET_VERSION + "\n",
                                   messages);
    }
    if (!options.backup.empty()) {
        if (const auto refusal = officeBackupRefusal()) {
            messages.diagnose(*refusal);
            return kToolOutputFailed;
        }
        return runStoreBackup(options.backup, err);
    }
    if (options.createSchema) {
        return createStoreSchema(out, err);
    }
    if (options.whichStore) {
        return printStoreInUse(out, err);
    }

    const auto checks = checkMessages(options.inputs);
    for (const auto& message : checks) {
        messages.check(message);
    }
    // The reports show this invocation's schedule; only --store touches the record store.
    const bool storeRun = options.store;
    if (!checks.empty() && !storeRun) {
        return kToolInputFailed;
    }

    std::string text;
    int status = checks.empty() ? kToolDone : kToolInputFailed;
    if (checks.empty()) {
        for (const std::string& warning : inputWarnings(options.inputs)) {
            messages.diagnose(warning);
        }
        try {
            text = scheduleOutput(options);
        } catch (const RuntimeError& e) {
            status = kToolInputFailed;
            // With the store, the run below meets the same failure and reports it itself, in
            // the same words.
            if (!storeRun) {
                messages.diagnose(describeInputFailure(options.inputs, e));
                return status;
            }
            messages.explainFailure(e.description(), describeInputFailure(options.inputs, e));
        }
    }
    if (storeRun) {
        if (options.verbose) {
            messages.diagnose(storeInUseNote());
        }
        const int runStatus = runAgainstStore(options);
        status = runStatus != kToolDone ? runStatus : status;
    }
    if (status == kToolDone && wantsReport(options)) {
        std::string reportOnStandardOutput;
        std::string problem;
        if (!writeToolReports(options, reportOnStandardOutput, problem)) {
            messages.diagnose(problem);
            return kToolOutputFailed;
        }
        if (options.pdf == kStandardOutputName || options.csv == kStandardOutputName) {
            text = std::move(reportOnStandardOutput);
        }
    }
    if (status != kToolDone) {
        return status;
    }
    return writeStandardOutput(out, text, messages);
}

}  // namespace quillet
