#pragma once
// A shown, active main window over a fresh store whose messages are recorded, for the window's
// tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QtTest/QTest>
#include <memory>

#include "gui/Form1.h"
#include "support/TempStore.h"

namespace quillet::testing {

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        // Sizes and colours are checked against one known style.
        QApplication::setStyle(QStringLiteral("Fusion"));
        m_form = std::make_unique<Form1>();
        showActive();
    }

    void TearDown() override { m_form.reset(); }

    void showActive() {
        m_form->show();
        QApplication::setActiveWindow(m_form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_form.get()));
    }

    Form1& form() { return *m_form; }
    const std::vector<ShownMessage>& messages() const { return m_store.shown(); }

    /// Puts the focus on a control the way a click would.
    void focusOn(QWidget* control) {
        control->setFocus(Qt::MouseFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), control);
    }

private:
    TempStore m_store;  // outlives the window
    std::unique_ptr<Form1> m_form;
};

}  // namespace quillet::testing
