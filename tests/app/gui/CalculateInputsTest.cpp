// Calculate: Enter in any input box runs it; each box that does not hold a number is reported, in
// a fixed order, before the schedule runs.

#include <QCursor>
#include <QTimer>
#include <optional>

#include "WindowFixture.h"
#include "adapters/BusyCursor.h"
#include "adapters/QtMessageBoxes.h"

namespace quillet::testing {
namespace {

class Calculate : public WindowFixture {
protected:
    void fill(const QString& amount, const QString& duration, const QString& rate) {
        form().txtAmount()->setText(amount);
        form().txtDuration()->setText(duration);
        form().txtrate()->setText(rate);
    }
};

TEST_F(Calculate, EnterInEachInputBoxOrOnTheButtonCalculatesButNotInTheGridNorWithCtrl) {
    int amount = 1000;
    const auto calculates = [&](QWidget* receiver, Qt::Key key, Qt::KeyboardModifiers modifiers) {
        SCOPED_TRACE(receiver->objectName().toStdString());
        // A new amount each time, so each Enter must have calculated to show it.
        amount += 1000;
        fill(QString::number(amount), QStringLiteral("10"), QStringLiteral("0"));
        focusOn(receiver);
        QTest::keyClick(receiver, key, modifiers);
        EXPECT_EQ(form().emi()->text(), QString::number(amount / 10));
        ASSERT_NE(form().DG()->model(), nullptr);
        EXPECT_EQ(form().DG()->model()->rowCount(), 10);
    };
    for (QWidget* receiver : std::initializer_list<QWidget*>{
             form().txtAmount(), form().txtDuration(), form().txtrate(), form().cmb(), form().DTP(),
             form().emi(), form().btnShowPayment()}) {
        calculates(receiver, Qt::Key_Return, {});
    }
    calculates(form().txtAmount(), Qt::Key_Enter, Qt::KeypadModifier);
    const QString last = form().emi()->text();
    form().txtAmount()->setText(QStringLiteral("99000"));
    for (const auto& [receiver, modifiers] :
         {std::pair<QWidget*, Qt::KeyboardModifiers>{form().DG(), {}},
          std::pair<QWidget*, Qt::KeyboardModifiers>{form().txtAmount(), Qt::ControlModifier}}) {
        focusOn(receiver);
        QTest::keyClick(receiver, Qt::Key_Return, modifiers);
        EXPECT_EQ(form().emi()->text(), last);
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(Calculate, TheInstalmentBoxCanBeSelectedAndCopiedButNotTypedInto) {
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    ASSERT_EQ(form().emi()->text(), "11102");
    focusOn(form().emi());
    QTest::keyClicks(form().emi(), QStringLiteral("99"));
    QTest::keyClick(form().emi(), Qt::Key_Backspace);
    EXPECT_EQ(form().emi()->text(), "11102");
    form().emi()->selectAll();
    EXPECT_EQ(form().emi()->selectedText(), "11102");
}

/// Records each message with the application's cursor at that moment instead of showing it.
class CursorWitness : public RecordingMessageBoxes {
public:
    int show(const std::string& prompt, int buttons, const std::string& title) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        shapes.push_back(cursor != nullptr ? std::optional(cursor->shape()) : std::nullopt);
        return RecordingMessageBoxes::show(prompt, buttons, title);
    }
    std::vector<std::optional<Qt::CursorShape>> shapes;
};

// An empty box is no number either, and the run then reports its own failure. The checks wait
// for no work; the run's message comes under the wait cursor, which is gone when it ends.
TEST_F(Calculate, ReportsAmountDurationAndRateInThatOrderThenTheRunUnderTheWaitCursor) {
    auto witness = std::make_shared<CursorWitness>();
    const auto previous = installMessageBoxService(witness);
    fill(QString(), QStringLiteral("ten"), QStringLiteral("6%"));
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    installMessageBoxService(previous);
    // The checks come first, before the run says anything of its own, and only these three.
    const std::string expected[] = {"Please enter Amount in Numeric",
                                    "Please enter Duration in Numeric",
                                    "Please enter Interest Rate in Numeric"};
    const auto& shown = witness->shown;
    ASSERT_EQ(shown.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(shown[i].prompt, expected[i]);
        EXPECT_EQ(shown[i].buttons, vbInformation);
        EXPECT_EQ(witness->shapes[i], std::nullopt);
    }
    EXPECT_EQ(shown[3].title, kApplicationTitle);
    EXPECT_EQ(shown[3].buttons, vbOKOnly);
    EXPECT_EQ(witness->shapes[3], Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(form().emi()->text(), "0");
    EXPECT_EQ(form().txtDuration()->text(), "ten");  // the texts stay as typed
}

TEST(BusyCursor, AMessageBoxShownDuringWorkLiftsTheWaitCursorUntilItCloses) {
    const BusyCursor working;
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    std::optional<const QCursor*> whileShown;
    QTimer::singleShot(0, [&whileShown] {
        whileShown = QGuiApplication::overrideCursor();
        if (QWidget* box = QApplication::activeModalWidget()) {
            box->close();
        }
    });
    QtMessageBoxes boxes;
    boxes.show("The store is busy", vbOKOnly, "Quillet");
    ASSERT_TRUE(whileShown.has_value());
    EXPECT_EQ(*whileShown, nullptr);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

}  // namespace
}  // namespace quillet::testing
