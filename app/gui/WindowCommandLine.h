#pragma once
// The questions the window's program answers on its command line without opening a window.

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace quillet {

/// \brief Answers --version (the program's name and version) and --help or -h (how to start it)
/// on out and returns the exit status 0; returns nothing for any other command line, which then
/// goes on to Qt and the window. args holds the arguments without the program name.
std::optional<int> answerWithoutWindow(const std::vector<std::string>& args,
                                       const std::string& version, std::ostream& out);

/// \brief The command line Qt is given: the program name and args, with "-name appId" after the
/// program name unless args names the window already. On X11 that name is the window's instance
/// name, which the desktop entry's StartupWMClass matches, so docks tie the window to its entry.
std::vector<std::string> qtCommandLine(const std::string& program,
                                       const std::vector<std::string>& args,
                                       const std::string& appId);

}  // namespace quillet
