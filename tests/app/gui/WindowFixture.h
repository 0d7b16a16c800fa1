#pragma once
// A shown, active main window with a fresh data folder and a message recorder, for the window's
// tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/Form1.h"
#include "ui/MessageBox.h"

namespace quillet::testing {

struct RecordedMessage {
    std::string prompt;
    int buttons = 0;
    std::string title;
};

/// Records every message instead of showing it and presses OK.
class MessageRecorder : public MessageBoxService {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override {
        messages.push_back({prompt, buttons, title});
        return vbOK;
    }

    std::vector<RecordedMessage> messages;
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dataHome.isValid());
        qputenv("XDG_DATA_HOME", m_dataHome.path().toUtf8());
        // Sizes and colours are checked against one known style.
        QApplication::setStyle(QStringLiteral("Fusion"));
        m_previousService = installMessageBoxService(m_recorder);
        m_form = std::make_unique<Form1>();
        showActive();
    }

    void TearDown() override {
        m_form.reset();
        installMessageBoxService(m_previousService);
    }

    void showActive() {
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }

    Form1& form() { return *m_form; }
    const std::vector<RecordedMessage>& messages() const { return m_recorder->messages; }

    /// Puts the focus on a control the way a click would.
    void focusOn(QWidget* control) {
        control->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control);
    }

private:
    QTemporaryDir m_dataHome;
    std::shared_ptr<MessageRecorder> m_recorder = std::make_shared<MessageRecorder>();
    std::shared_ptr<MessageBoxService> m_previousService;
    std::unique_ptr<Form1> m_form;
};

}  // namespace quillet::testing
