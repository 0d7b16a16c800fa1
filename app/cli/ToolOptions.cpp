#include "cli/ToolOptions.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>
#include <chrono>
#include <functional>

#include "cli/ArgumentBytes.h"
#include "runtime/Date.h"

namespace quillet {

namespace {

using Problem = std::optional<std::string>;

/// \brief One option: its names, the value's name (empty for a switch), the help line, and what
/// its value does to the options. Every option of the tool is one row of optionTable(): adding an
/// option is adding a row.
struct OptionRow {
    QStringList names;
    QString valueName;
    QString description;
    std::function<Problem(ToolOptions&, const std::string& value)> apply;
};

// Exactly YYYY-MM-DD: four digits, two, two, a real calendar day in the years the runtime knows.
Problem readStart(ToolOptions& options, const std::string& text) {
    const auto digitsAt = [&](std::size_t from, std::size_t count) {
        for (std::size_t i = from; i < from + count; ++i) {
            if (text[i] < '0' || text[i] > '9') {
                return false;
            }
        }
        return true;
    };
    const bool shaped = text.size() == 10 && text[4] == '-' && text[7] == '-' && digitsAt(0, 4) &&
                        digitsAt(5, 2) && digitsAt(8, 2);
    if (shaped) {
        const int year = std::stoi(text.substr(0, 4));
        const auto month = static_cast<unsigned>(std::stoi(text.substr(5, 2)));
        const auto day = static_cast<unsigned>(std::stoi(text.substr(8, 2)));
        const std::chrono::year_month_day date{std::chrono::year{year}, std::chrono::month{month},
                                               std::chrono::day{day}};
        if (date.ok() && year >= 100) {
            options.inputs.start = Date{year, static_cast<int>(month), static_cast<int>(day)};
            options.startText = text;
            return std::nullopt;
        }
    }
    return "invalid start date '" + text + "' (expected YYYY-MM-DD)";
}

Problem readFormat(ToolOptions& options, const std::string& text) {
    if (text == "csv") {
        options.format = OutputFormat::Csv;
    } else if (text == "json") {
        options.format = OutputFormat::Json;
    } else {
        return "invalid format '" + text + "' (expected csv or json)";
    }
    return std::nullopt;
}

Problem setText(std::string& target, const std::string& value) {
    target = value;
    return std::nullopt;
}

const std::vector<OptionRow>& optionTable() {
    static const std::vector<OptionRow> table = {
        {{"amount"},
         "TEXT",
         "Loan amount (default 1000000).",
         [](ToolOptions& o, const std::string& v) { return setText(o.inputs.amount, v); }},
        {{"months"},
         "TEXT",
         "Duration in months (default 120).",
         [](ToolOptions& o, const std::string& v) { return setText(o.inputs.months, v); }},
        {{"rate"},
         "TEXT",
         "Yearly interest rate in percent (default 6).",
         [](ToolOptions& o, const std::string& v) { return setText(o.inputs.rate, v); }},
        {{"decimals"},
         "TEXT",
         "Decimals to round to, e.g. 0 or 2 (default 0).",
         [](ToolOptions& o, const std::string& v) { return setText(o.inputs.decimals, v); }},
        {{"start"}, "YYYY-MM-DD", "Date of the first instalment (default 2024-01-01).", readStart},
        {{"emi"},
         {},
         "Print only the instalment per month.",
         [](ToolOptions& o, const std::string&) {
             o.emiOnly = true;
             return Problem{};
         }},
        {{"format"},
         "csv|json",
         "Form of the schedule on stdout (default csv). JSON holds the inputs, the instalment "
         "and the rows as numbers (written as the CSV writes them), keys in column order, dates "
         "as YYYY-MM-DD.",
         readFormat},
        {{"store"},
         {},
         "Also run the calculation against the data source \"det\" as the window does: rewrite "
         "its EMI table (messages on stderr).",
         [](ToolOptions& o, const std::string&) {
             o.store = true;
             return Problem{};
         }},
        {{"pdf"},
         "FILE",
         "Write the printable report of this invocation's schedule to FILE ('-': stdout); "
         "the store is written only with --store.",
         [](ToolOptions& o, const std::string& v) { return setText(o.pdf, v); }},
        {{"csv"},
         "FILE",
         "Write the schedule as CSV to FILE ('-': stdout), the same texts as printed on "
         "stdout.",
         [](ToolOptions& o, const std::string& v) { return setText(o.csv, v); }},
        {{"backup"},
         "FILE",
         "Copy the embedded store to FILE and do nothing else; safe while Quillet runs.",
         [](ToolOptions& o, const std::string& v) { return setText(o.backup, v); }},
        {{"create-schema"},
         {},
         "Create in the data source \"det\" every table of the default schema it lacks, and "
         "nothing else.",
         [](ToolOptions& o, const std::string&) {
             o.createSchema = true;
             return Problem{};
         }},
        {{"which-store"},
         {},
         "Name the store \"det\" leads to (a data source of the driver manager, or the embedded "
         "store) and exit.",
         [](ToolOptions& o, const std::string&) {
             o.whichStore = true;
             return Problem{};
         }},
        {{"verbose"},
         {},
         "With --store, name that store on stderr first.",
         [](ToolOptions& o, const std::string&) {
             o.verbose = true;
             return Problem{};
         }},
        {{"h", "help"},
         {},
         "Show this text and exit.",
         [](ToolOptions& o, const std::string&) {
             o.help = true;
             return Problem{};
         }},
        {{"version"},
         {},
         "Show the version and exit.",
         [](ToolOptions& o, const std::string&) {
             o.version = true;
             return Problem{};
         }},
    };
    return table;
}

void describeOptions(QCommandLineParser& parser) {
    for (const OptionRow& row : optionTable()) {
        parser.addOption(QCommandLineOption(row.names, row.description, row.valueName));
    }
}

constexpr const char* kDescription =
    "Computes the monthly instalment and the repayment schedule of a loan, exactly as the\n"
    "Quillet window does from the same texts. Option values are taken verbatim, even when they\n"
    "begin with '-'; --opt=value and --opt value are the same.";

constexpr const char* kAfterOptions =
    "\n"
    "Without --emi the schedule is printed as CSV: SN, OpeningBalance, Interest, Principal,\n"
    "ClosingBalance, EMIDate. A report written to '-' takes the place of the schedule on stdout.\n"
    "Nothing is written to stdout unless the exit status is 0.\n"
    "\n"
    "Exit status:\n"
    "  0   done\n"
    "  2   an input is not a number or the computation failed\n"
    "  1   the store or an output file failed\n"
    "  64  the command line is malformed\n";

}  // namespace

std::optional<std::string> parseToolOptions(const std::vector<std::string>& args,
                                            ToolOptions& options) {
    QCommandLineParser parser;
    describeOptions(parser);
    QStringList arguments{QStringLiteral("quillet-schedule")};
    for (const std::string& arg : args) {
        arguments << argumentText(arg);
    }
    if (!parser.parse(arguments)) {
        return parser.errorText().toStdString();
    }
    if (const QStringList stray = parser.positionalArguments(); !stray.isEmpty()) {
        return "unexpected argument '" + stray.front().toStdString() + "'";
    }
    for (const OptionRow& row : optionTable()) {
        if (!parser.isSet(row.names.front())) {
            continue;
        }
        const std::string value = argumentBytes(parser.value(row.names.front()));
        if (Problem problem = row.apply(options, value)) {
            return problem;
        }
    }
    if (options.pdf == kStandardOutputName && options.csv == kStandardOutputName) {
        return "--pdf and --csv cannot both write to stdout";
    }
    return std::nullopt;
}

std::string toolHelpText() {
    QCommandLineParser parser;
    parser.setApplicationDescription(QString::fromLatin1(kDescription));
    describeOptions(parser);
    // The parser names the program after the running application, which a library call may not
    // have (or may be a test); the usage line is ours.
    const QString generated = parser.helpText();
    const qsizetype firstLineEnd = generated.indexOf(QLatin1Char('\n'));
    return "Usage: quillet-schedule [options]" + generated.mid(firstLineEnd).toStdString() +
           kAfterOptions;
}

}  // namespace quillet
