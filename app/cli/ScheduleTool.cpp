#include "cli/ScheduleTool.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "cli/OffscreenApplication.h"
#include "cli/StoreMaintenance.h"
#include "report/ReportExport.h"
#include "run/ScheduleStoreRun.h"
#include "runtime/Date.h"
#include "runtime/Numbers.h"
#include "runtime/ProgramFolder.h"
#include "runtime/RuntimeError.h"
#include "schedule/ScheduleComputation.h"
#include "schedule/ScheduleTexts.h"

namespace quillet {

namespace {

constexpr const char* kUsage =
    "Usage: quillet-schedule [--amount TEXT] [--months TEXT] [--rate TEXT] [--decimals TEXT]\n"
    "                        [--start YYYY-MM-DD] [--emi] [--store] [--pdf FILE] [--csv FILE]\n"
    "\n"
    "Computes the monthly instalment and the repayment schedule of a loan, exactly as the\n"
    "Quillet window does from the same texts.\n"
    "\n"
    "  --amount TEXT       loan amount (default 1000000)\n"
    "  --months TEXT       duration in months (default 120)\n"
    "  --rate TEXT         yearly interest rate in percent (default 6)\n"
    "  --decimals TEXT     decimals to round to, 0 or 2 (default 0)\n"
    "  --start YYYY-MM-DD  date of the first instalment (default 2024-01-01)\n"
    "  --emi               print only the instalment per month\n"
    "  --store             also run the calculation against the data source \"det\" as the\n"
    "                      window does: rewrite its EMI table (messages on stderr)\n"
    "  --pdf FILE          write the printable schedule report of the stored run to FILE\n"
    "  --csv FILE          write the same report as CSV to FILE (both imply --store)\n"
    "  --create-schema     create in \"det\" the tables of the default schema it lacks\n"
    "  --which-store       name the store \"det\" leads to (odbc.ini or the embedded one)\n"
    "  --verbose           with --store, name that store on standard error first\n"
    "  --help              show this text\n"
    "\n"
    "Without --emi the schedule is printed as CSV: SN, OpeningBalance, Interest, Principal,\n"
    "ClosingBalance, EMIDate. Option values are taken verbatim, even when they begin with '-'.\n"
    "Exit status 2 when an input is not a number or the computation fails.\n";

struct Options {
    ScheduleInputs inputs;
    bool emiOnly = false;
    bool store = false;
    std::string pdf;
    std::string csv;
    bool help = false;
    bool createSchema = false;
    bool whichStore = false;
    bool verbose = false;
};

// Reads the options; returns an error text for a malformed command line.
std::optional<std::string> parseOptions(const std::vector<std::string>& args, Options& options) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--emi") {
            options.emiOnly = true;
            continue;
        }
        if (arg == "--store") {
            options.store = true;
            continue;
        }
        if (arg == "--create-schema" || arg == "--which-store" || arg == "--verbose") {
            (arg == "--create-schema" ? options.createSchema
             : arg == "--which-store" ? options.whichStore
                                      : options.verbose) = true;
            continue;
        }
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            continue;
        }
        std::string* target = nullptr;
        std::string startText;
        if (arg == "--amount") {
            target = &options.inputs.amount;
        } else if (arg == "--months") {
            target = &options.inputs.months;
        } else if (arg == "--rate") {
            target = &options.inputs.rate;
        } else if (arg == "--decimals") {
            target = &options.inputs.decimals;
        } else if (arg == "--start") {
            target = &startText;
        } else if (arg == "--pdf") {
            target = &options.pdf;
        } else if (arg == "--csv") {
            target = &options.csv;
        } else {
            return "Unknown option: " + arg;
        }
        if (i + 1 >= args.size()) {
            return "Missing value for " + arg;
        }
        // The value is taken verbatim, even "-5".
        *target = args[++i];
        if (arg == "--start") {
            const auto date = parseDate(startText);
            if (!date || startText.size() != 10 || startText[4] != '-') {
                return "Invalid start date (expected YYYY-MM-DD): " + startText;
            }
            options.inputs.start = *date;
        }
    }
    return std::nullopt;
}

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

}  // namespace

int runScheduleTool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Options options;
    if (const auto problem = parseOptions(args, options)) {
        err << *problem << "\n"
            << "Try 'quillet-schedule --help'.\n";
        return kToolFailure;
    }
    if (options.help) {
        out << kUsage;
        return 0;
    }
    if (options.createSchema) {
        return createStoreSchema(out, err);
    }
    if (options.whichStore) {
        return printStoreInUse(out, err);
    }
    const auto messages = checkMessages(options.inputs);
    if (!messages.empty()) {
        for (const auto& message : messages) {
            err << message << "\n";
        }
        return kToolFailure;
    }
    // Build the whole output first: a failure half-way must leave stdout empty.
    std::string text;
    try {
        ScheduleComputation computation(options.inputs);
        if (!options.emiOnly) {
            text.reserve(64 +
                         static_cast<std::size_t>(std::max<int>(0, computation.monthCount())) * 64);
            text.append(kScheduleCsvHeader);
        }
        for (int i = 1; i <= computation.monthCount(); ++i) {
            const ScheduleRow row = computation.step(static_cast<std::int16_t>(i));
            if (!options.emiOnly) {
                appendCsvLine(text, computation, row);
            }
        }
        if (options.emiOnly) {
            text = computation.result() + "\n";
        }
    } catch (const RuntimeError& e) {
        err << e.description() << "\n";
        return kToolFailure;
    }
    int status = 0;
    const bool report = !options.pdf.empty() || !options.csv.empty();
    if (options.store || report) {
        if (options.verbose) {
            err << storeInUseNote() << "\n";
        }
        // Messages of the run reach standard error through the message-box fallback.
        std::optional<ReportCalculation> calculation;
        ScheduleRunHooks hooks;
        hooks.prepareReport = [&](const std::string& instalment) {
            const ScheduleInputs& in = options.inputs;
            calculation =
                ReportCalculation{in.amount, in.months, in.rate, in.decimals, in.start, instalment};
        };
        const ScheduleRunOutcome outcome = runScheduleToStore(options.inputs, hooks);
        status = outcome.failed ? kToolFailure : 0;
        if (report && calculation) {
            if (!options.pdf.empty()) {
                ensureGuiApplication();
            }
            std::string problem;
            if (!writeScheduleReport(programFolder() / "EMI.rpt", *calculation, options.pdf,
                                     options.csv, problem)) {
                err << problem << "\n";
                status = kToolFailure;
            }
        }
    }
    out << text;
    out.flush();
    return out ? status : kToolFailure;
}

}  // namespace quillet
