#pragma once
// A fresh embedded store for each test: XDG_DATA_HOME points at a new temporary folder, which is
// removed afterwards. Messages the class shows are recorded instead of drawn.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/MessageBox.h"

namespace quillet::testing {

struct ShownMessage {
    std::string prompt;
    int buttons = 0;
    std::string title;
};

/// Records every message box instead of showing it; answers OK.
class RecordingMessageBoxes : public MessageBoxService {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override {
        shown.push_back({prompt, buttons, title});
        return vbOK;
    }
    std::vector<ShownMessage> shown;
};

/// \brief Points the embedded data source at a new temporary folder for one test and records
/// the message boxes shown meanwhile.
class TempStore {
public:
    TempStore() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillet-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        m_folder = pattern;
        if (const char* old = std::getenv("XDG_DATA_HOME")) {
            m_previous = old;
            m_hadPrevious = true;
        }
        ::setenv("XDG_DATA_HOME", m_folder.c_str(), 1);
        // A report definition of the user's own must not stand in for the shipped one.
        if (const char* old = std::getenv("XDG_CONFIG_HOME")) {
            m_previousConfig = old;
        }
        ::setenv("XDG_CONFIG_HOME", (m_folder / "config").c_str(), 1);
        // No data source registered with the driver manager either, unless a test writes one:
        // a "det" in the developer's own odbc.ini would otherwise take the tests elsewhere.
        for (const char* name : {"ODBCSYSINI", "ODBCINI"}) {
            const char* old = std::getenv(name);
            m_odbcEnvironment.emplace_back(
                name, old != nullptr ? std::optional<std::string>(old) : std::nullopt);
        }
        ::setenv("ODBCSYSINI", m_folder.c_str(), 1);
        ::setenv("ODBCINI", (m_folder / "odbc.ini").c_str(), 1);
        messages = std::make_shared<RecordingMessageBoxes>();
        m_previousService = installMessageBoxService(messages);
    }
    ~TempStore() {
        installMessageBoxService(m_previousService);
        for (const auto& [name, value] : m_odbcEnvironment) {
            if (value) {
                ::setenv(name.c_str(), value->c_str(), 1);
            } else {
                ::unsetenv(name.c_str());
            }
        }
        if (m_hadPrevious) {
            ::setenv("XDG_DATA_HOME", m_previous.c_str(), 1);
        } else {
            ::unsetenv("XDG_DATA_HOME");
        }
        if (m_previousConfig) {
            ::setenv("XDG_CONFIG_HOME", m_previousConfig->c_str(), 1);
        } else {
            ::unsetenv("XDG_CONFIG_HOME");
        }
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    const std::filesystem::path& folder() const { return m_folder; }
    const std::vector<ShownMessage>& shown() const { return messages->shown; }

    std::shared_ptr<RecordingMessageBoxes> messages;

private:
    std::filesystem::path m_folder;
    std::string m_previous;
    bool m_hadPrevious = false;
    std::optional<std::string> m_previousConfig;
    std::shared_ptr<MessageBoxService> m_previousService;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_odbcEnvironment;
};

}  // namespace quillet::testing
