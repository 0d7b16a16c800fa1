#include "cli/ToolMessages.h"

#include <ostream>

namespace quillet {

namespace {

class StreamMessageBoxes : public MessageBoxService {
public:
    explicit StreamMessageBoxes(ToolMessages& messages) : m_messages(messages) {}
    int show(const std::string& prompt, int, const std::string&) override {
        m_messages.diagnose(prompt);
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

void ToolMessages::diagnose(const std::string& text) {
    m_err << kToolPrefix << text << '\n';
    m_err.flush();
}

void ToolMessages::check(const std::string& text) {
    m_err << text << '\n';
    m_err.flush();
}

}  // namespace quillet
