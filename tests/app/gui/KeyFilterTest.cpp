// The window's key filter: what it makes of typed characters, and that the boxes get the filtered
// text.

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdint>

#include "WindowFixture.h"
#include "gui/KeyFilter.h"

namespace quillet::testing {
namespace {

TEST(KeyMapping, UpperCasesShiftsCodes123To127SwallowsTheApostropheAndKeepsOtherScripts) {
    // clang-format off
    const struct {
        char32_t typed;
        char32_t arrives;
    } cases[] = {
        {U'a', U'A'}, {U'{', U'['}, {U'~', U'^'}, {127, U'_'},  {U'\'', 0},   {U'`', U'`'},
        {U'0', U'0'}, {U'é', U'É'}, {U'ÿ', U'Ÿ'}, {U'д', U'Д'}, {U'ß', U'ß'}, {U'×', U'×'},
        {U'ि', U'ि'}, {U'\U00010428', U'\U00010400'},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(filterTypedCharacter(c.typed), c.arrives)
            << "code " << static_cast<std::uint32_t>(c.typed);
    }
    EXPECT_EQ(filterTypedText(QStringLiteral("a1'b rāma राम")), QStringLiteral("A1B RĀMA राम"));
}

using TypingIntoTheWindow = WindowFixture;

void clearAndType(QWidget* target, const QString& keys) {
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

TEST_F(TypingIntoTheWindow, TheBoxesGetTheFilteredTextFromKeysAndInputMethods) {
    focusOn(form().txtAmount());
    clearAndType(form().txtAmount(), QStringLiteral("a1'b"));
    EXPECT_EQ(form().txtAmount()->text(), "A1B");
    // Keys that are not characters still move and edit.
    QTest::keyClick(form().txtAmount(), Qt::Key_Home);
    QTest::keyClick(form().txtAmount(), Qt::Key_Delete);
    QTest::keyClicks(form().txtAmount(), QStringLiteral("-"));
    EXPECT_EQ(form().txtAmount()->text(), "-1B");

    focusOn(form().cmb());
    clearAndType(form().cmb(), QStringLiteral("a1'b{~"));
    EXPECT_EQ(form().cmb()->currentText(), "A1B[^");
    EXPECT_EQ(form().cmb()->count(), 2);  // typing adds nothing to the list

    // Text from an input method is filtered too.
    focusOn(form().txtDuration());
    form().txtDuration()->clear();
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("a'é राम"));
    QApplication::sendEvent(form().txtDuration(), &composed);
    EXPECT_EQ(form().txtDuration()->text(), QStringLiteral("AÉ राम"));
}

/// A key press as X11 delivers it: Delete and Backspace carry a control character as their text.
void pressWithText(QWidget* target, Qt::Key key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
}

TEST_F(TypingIntoTheWindow, DeleteAndBackspaceEditEveryBoxInsteadOfTyping) {
    focusOn(form().txtAmount());
    form().txtAmount()->setText(QStringLiteral("12345"));
    form().txtAmount()->setCursorPosition(2);
    pressWithText(form().txtAmount(), Qt::Key_Delete, QStringLiteral("\x7f"));
    pressWithText(form().txtAmount(), Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(form().txtAmount()->text(), "145");

    focusOn(form().cmb());
    QLineEdit* field = form().cmb()->lineEdit();
    field->setText(QStringLiteral("20"));
    field->setCursorPosition(0);
    pressWithText(field, Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(form().cmb()->currentText(), "0");

    focusOn(form().DTP());
    form().DTP()->setSelectedSection(QDateTimeEdit::DaySection);
    pressWithText(form().DTP(), Qt::Key_Delete, QStringLiteral("\x7f"));
    EXPECT_EQ(form().DTP()->text(), "/Jan/2024");  // the day is cleared for typing anew
}

TEST_F(TypingIntoTheWindow, EscapeClosesTheWindowFromAnyControl) {
    for (QWidget* target :
         {static_cast<QWidget*>(form().txtAmount()), static_cast<QWidget*>(form().cmb()),
          static_cast<QWidget*>(form().DTP())}) {
        SCOPED_TRACE(target->objectName().toStdString());
        showActive();
        focusOn(target);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(form().isVisible());
    }
}

}  // namespace
}  // namespace quillet::testing
