#pragma once
/// \file
/// \brief Where quillet-schedule's messages go: the message boxes the store and the run show
/// become lines on the tool's error stream, each starting with the program's name.

#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "cli/ToolStatus.h"
#include "ui/MessageBox.h"

namespace quillet {

/// \brief Writes text to err as diagnostic lines: every line of it (a server's message may hold
/// several) starts with the prefix.
void writeDiagnostic(std::ostream& err, std::string_view text);

/// \brief Routes message boxes to err for as long as it lives, then restores the previous
/// service.
class ToolMessages {
public:
    explicit ToolMessages(std::ostream& err);
    ~ToolMessages();
    ToolMessages(const ToolMessages&) = delete;
    ToolMessages& operator=(const ToolMessages&) = delete;

    /// Writes one diagnostic line: the prefix, then the text.
    void diagnose(const std::string& text);
    /// Writes one of the window's check messages, alone on its line as the window shows it.
    void check(const std::string& text);

    /// \brief From now on, a message box whose prompt is exactly description is written as
    /// explanation: the tool knows which option a run's failure comes from, the run does not.
    void explainFailure(const std::string& description, std::string explanation);
    /// The text a message box's prompt is written as.
    const std::string& explanationOf(const std::string& prompt) const;

private:
    std::ostream& m_err;
    std::shared_ptr<MessageBoxService> m_previous;
    std::map<std::string, std::string> m_explanations;
};

}  // namespace quillet
