// Signs of work: the wait cursor while a Calculate runs, lifted while a message waits for the
// user, and gone when the work is done.

#include <QCursor>
#include <QTimer>
#include <optional>

#include "adapters/BusyCursor.h"
#include "adapters/QtMessageBoxes.h"
#include "app/gui/WindowFixture.h"

namespace quillet::testing {
namespace {

/// Notes the application's cursor at each message instead of showing it.
class CursorWitness : public MessageBoxService {
public:
    int show(const std::string&, int, const std::string&) override {
        const QCursor* cursor = QGuiApplication::overrideCursor();
        shapes.push_back(cursor != nullptr ? std::optional(cursor->shape()) : std::nullopt);
        return vbOK;
    }
    std::vector<std::optional<Qt::CursorShape>> shapes;
};

using BusyWindow = WindowFixture;

TEST_F(BusyWindow, ACalculateRunsUnderTheWaitCursorAndEndsWithoutIt) {
    auto witness = std::make_shared<CursorWitness>();
    const auto previous = installMessageBoxService(witness);
    // "ABC" fails its check before the run (no wait yet), then the run fails on it (waiting).
    form().txtAmount()->setText(QStringLiteral("ABC"));
    QTest::mouseClick(form().btnShowPayment(), Qt::LeftButton);
    installMessageBoxService(previous);
    ASSERT_EQ(witness->shapes.size(), 2u);
    EXPECT_EQ(witness->shapes[0], std::nullopt);
    EXPECT_EQ(witness->shapes[1], Qt::WaitCursor);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
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
