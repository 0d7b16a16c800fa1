#include "gui/WindowCommandLine.h"

#include <algorithm>
#include <ostream>

namespace quillet {

namespace {

constexpr const char* kUsage =
    "Usage: quillet [Qt options]\n"
    "\n"
    "Opens the Quillet loan calculator window: enter the loan amount, the duration in months,\n"
    "the yearly interest rate, the decimals to round to and the date of the first instalment,\n"
    "then press Calculate (or Enter in any box). The schedule is stored in the data source\n"
    "\"det\" and shown in the grid; Ctrl+P previews the printed report, Ctrl+E and Ctrl+Shift+E\n"
    "export it as PDF and CSV.\n"
    "\n"
    "  -h, --help  Show this text and exit.\n"
    "  --version   Show the version and exit.\n"
    "\n"
    "Other options are Qt's own, such as -platform and -style. quillet-schedule(1) computes the\n"
    "same schedule on the command line.\n";

bool asks(const std::vector<std::string>& args, std::initializer_list<const char*> names) {
    return std::any_of(args.begin(), args.end(), [&](const std::string& arg) {
        return std::any_of(names.begin(), names.end(),
                           [&](const char* name) { return arg == name; });
    });
}

}  // namespace

std::optional<int> answerWithoutWindow(const std::vector<std::string>& args,
                                       const std::string& version, std::ostream& out) {
    if (asks(args, {"--help", "-h"})) {
        out << kUsage;
    } else if (asks(args, {"--version"})) {
        out << "quillet " << version << '\n';
    } else {
        return std::nullopt;
    }
    out.flush();
    return out ? 0 : 1;
}

std::vector<std::string> qtCommandLine(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::string& appId) {
    std::vector<std::string> line{program};
    if (!asks(args, {"-name", "--name"})) {
        line.insert(line.end(), {"-name", appId});
    }
    line.insert(line.end(), args.begin(), args.end());
    return line;
}

}  // namespace quillet
