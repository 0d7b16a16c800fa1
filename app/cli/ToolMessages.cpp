#include "cli/ToolMessages.h"

#include <ostream>
#include <utility>

namespace quillet {

namespace {

class StreamMessageBoxes : public MessageBoxService {
public:
    explicit StreamMessageBoxes(ToolMessages& messages) : m_messages(messages) {}
    int show(const std::string& prompt, int, const std::string&) override {
        m_messages.diagnose(m_messages.explanationOf(prompt));
        return vbOK;
    }

private:
    ToolMessages& m_messages;
};

}  // namespace

ToolMessages::ToolMessages(std::ostream& err)
    : m_err(err),
      m_previous(installMessageBoxService(std::make_shared<StreamMessageBoxes>(*this))) {}

ToolMessages::~ToolMessages() {
    installMessageBoxService(m_previous);
}

void writeDiagnostic(std::ostream& err, std::string_view text) {
    do {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        err << kToolPrefix << line << '\n';
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    } while (!text.empty());
    err.flush();
}

void ToolMessages::diagnose(const std::string& text) {
    writeDiagnostic(m_err, text);
}

void ToolMessages::explainFailure(const std::string& description, std::string explanation) {
    m_explanations[description] = std::move(explanation);
}

const std::string& ToolMessages::explanationOf(const std::string& prompt) const {
    const auto found = m_explanations.find(prompt);
    return found != m_explanations.end() ? found->second : prompt;
}

void ToolMessages::check(const std::string& text) {
    m_err << text << '\n';
    m_err.flush();
}

}  // namespace quillet
