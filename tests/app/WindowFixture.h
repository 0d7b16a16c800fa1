#pragma once
// A shown, active main window with a fresh data folder and a message recorder, for the window's
// tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QStyle>
#include <QTemporaryDir>
#include <QtTest/QTest>
#include <memory>
#include <string>
#include <vector>

#include "gui/Form1.h"
#include "ui/MessageBox.h"

namespace quillet::test {

struct RecordedMessage {
    std::string prompt;
    int buttons = 0;
    std::string title;
    QString emiAtTheTime;  // what the instalment box showed while the message was up
};

/// Records every message instead of showing it and presses OK.
class MessageRecorder : public MessageBoxService {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override {
        messages.push_back({prompt, buttons, title, window ? window->emi()->text() : QString()});
        return vbOK;
    }

    std::vector<RecordedMessage> messages;
    Form1* window = nullptr;
};

inline void useFusionStyle() {
    if (QApplication::style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0) {
        QApplication::setStyle(QStringLiteral("Fusion"));
    }
}

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dataHome.isValid());
        qputenv("XDG_DATA_HOME", m_dataHome.path().toUtf8());
        useFusionStyle();
        m_previousService = installMessageBoxService(m_recorder);
        m_form = std::make_unique<Form1>();
        m_recorder->window = m_form.get();
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }

    void TearDown() override {
        m_recorder->window = nullptr;
        m_form.reset();
        installMessageBoxService(m_previousService);
    }

    Form1& form() { return *m_form; }
    const std::vector<RecordedMessage>& messages() const { return m_recorder->messages; }

    /// Puts the focus on a control the way a click would.
    void focusOn(QWidget* control) {
        control->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control);
    }

    std::unique_ptr<Form1> m_form;

private:
    QTemporaryDir m_dataHome;
    std::shared_ptr<MessageRecorder> m_recorder = std::make_shared<MessageRecorder>();
    std::shared_ptr<MessageBoxService> m_previousService;
};

}  // namespace quillet::test
