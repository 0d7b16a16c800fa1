// The window's key filter: what it makes of typed characters, and that every box gets the
// filtered text.

#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTimer>
#include <cstdint>

#include "WindowFixture.h"
#include "gui/KeyFilter.h"

namespace quillet::test {
namespace {

TEST(KeyMapping, ShiftsTheLowerAsciiRangeSwallowsTheApostropheAndKeepsTheRest) {
    const struct {
        char32_t typed;
        char32_t arrives;
    } cases[] = {
        {U'a', U'A'}, {U'z', U'Z'}, {U'q', U'Q'}, {U'{', U'['}, {U'|', U'\\'}, {U'}', U']'},
        {U'~', U'^'}, {127, U'_'},  {U'\'', 0},   {U'`', U'`'}, {U'A', U'A'},  {U'Z', U'Z'},
        {U'0', U'0'}, {U'9', U'9'}, {U'.', U'.'}, {U'-', U'-'}, {U' ', U' '},  {U'"', U'"'},
        {8, 8},       {13, 13},     {27, 27},     {9, 9},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(filterTypedCharacter(c.typed), c.arrives)
            << "code " << static_cast<std::uint32_t>(c.typed);
    }
}

TEST(KeyMapping, BeyondAsciiTakesTheUnicodeCapital) {
    EXPECT_EQ(filterTypedCharacter(U'é'), U'É');
    EXPECT_EQ(filterTypedCharacter(U'ñ'), U'Ñ');
    EXPECT_EQ(filterTypedCharacter(U'ÿ'), U'Ÿ');  // its capital lies outside Latin-1
    EXPECT_EQ(filterTypedCharacter(U'É'), U'É');
    EXPECT_EQ(filterTypedCharacter(U'д'), U'Д');
    EXPECT_EQ(filterTypedCharacter(U'ß'), U'ß');  // no single capital letter
    EXPECT_EQ(filterTypedCharacter(U'×'), U'×');  // not a letter: 215 - 32 would be a letter
    for (const char32_t devanagari : {U'क', U'ि', U'ं', U'१', U'।'}) {
        EXPECT_EQ(filterTypedCharacter(devanagari), devanagari);
    }
    EXPECT_EQ(filterTypedCharacter(U'\U00010428'), U'\U00010400');  // beyond 16 bits
}

TEST(KeyMapping, FiltersWholeTexts) {
    EXPECT_EQ(filterTypedText(QStringLiteral("a1'b")), QStringLiteral("A1B"));
    EXPECT_EQ(filterTypedText(QStringLiteral("'")), QString());
    EXPECT_EQ(filterTypedText(QStringLiteral("rāma राम")), QStringLiteral("RĀMA राम"));
    EXPECT_EQ(filterTypedText(QString::fromUcs4(U"x\U00010428'")),
              QString::fromUcs4(U"X\U00010400"));
}

using TypingIntoTheWindow = WindowFixture;

void clearAndType(QWidget* target, const QString& keys) {
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(target, Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

TEST_F(TypingIntoTheWindow, EveryBoxReceivesUpperCaseWithoutApostrophes) {
    for (QLineEdit* box :
         {form().txtAmount(), form().txtDuration(), form().txtrate(), form().emi()}) {
        SCOPED_TRACE(box->objectName().toStdString());
        focusOn(box);
        clearAndType(box, QStringLiteral("a1'b"));
        EXPECT_EQ(box->text(), "A1B");
    }
}

TEST_F(TypingIntoTheWindow, TheComboBoxEditFieldIsFilteredToo) {
    focusOn(form().cmb());
    clearAndType(form().cmb(), QStringLiteral("a1'b{~"));
    EXPECT_EQ(form().cmb()->currentText(), "A1B[^");
    EXPECT_EQ(form().cmb()->count(), 2);  // typing adds nothing to the list
}

TEST_F(TypingIntoTheWindow, LettersBeyondAsciiBecomeCapitalsOtherScriptsStay) {
    focusOn(form().txtAmount());
    clearAndType(form().txtAmount(), QString());
    for (const QString& typed : {QStringLiteral("é"), QStringLiteral("क"), QStringLiteral("ü")}) {
        QTest::sendKeyEvent(QTest::Click, form().txtAmount(), Qt::Key_unknown, typed,
                            Qt::NoModifier);
    }
    EXPECT_EQ(form().txtAmount()->text(), QStringLiteral("ÉकÜ"));
}

TEST_F(TypingIntoTheWindow, TextFromAnInputMethodIsFilteredToo) {
    focusOn(form().txtDuration());
    form().txtDuration()->clear();
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("a'é राम"));
    QApplication::sendEvent(form().txtDuration(), &composed);
    EXPECT_EQ(form().txtDuration()->text(), QStringLiteral("AÉ राम"));
}

TEST_F(TypingIntoTheWindow, KeysThatAreNotCharactersStillWork) {
    focusOn(form().txtAmount());
    QTest::keyClick(form().txtAmount(), Qt::Key_End);
    QTest::keyClick(form().txtAmount(), Qt::Key_Backspace);
    QTest::keyClick(form().txtAmount(), Qt::Key_Home);
    QTest::keyClicks(form().txtAmount(), QStringLiteral("-."));
    EXPECT_EQ(form().txtAmount()->text(), "-.100000");
}

TEST_F(TypingIntoTheWindow, EscapeClosesTheWindowFromAnyControl) {
    for (QWidget* target : std::initializer_list<QWidget*>{form().txtAmount(), form().cmb(),
                                                           form().DTP(), form().btnShowPayment()}) {
        SCOPED_TRACE(target->objectName().toStdString());
        if (!form().isVisible()) {
            form().show();
            QApplication::setActiveWindow(&form());
            ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
        }
        focusOn(target);
        QTest::keyClick(target, Qt::Key_Escape);
        EXPECT_FALSE(form().isVisible());
    }
}

TEST_F(TypingIntoTheWindow, EscapeEndsTheProgram) {
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, [] { QCoreApplication::exit(1); });
    giveUp.start(5000);
    QTimer::singleShot(0, &form(), [this] {
        focusOn(form().txtDuration());
        QTest::keyClick(form().txtDuration(), Qt::Key_Escape);
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(form().isVisible());
}

}  // namespace
}  // namespace quillet::test
