// One main for every test program. Programs that link Qt widgets get a QApplication so widgets
// can be made, programs that only draw (Qt GUI) a QGuiApplication; the platform comes from
// QT_QPA_PLATFORM (offscreen in ctest).
#include <gtest/gtest.h>

#include <cstdlib>

#if __has_include(<QApplication>) && defined(QT_WIDGETS_LIB)
#include <QApplication>
#define QUILLET_TEST_WITH_QT 1
using TestApplication = QApplication;
#elif __has_include(<QGuiApplication>) && defined(QT_GUI_LIB)
#include <QGuiApplication>
#define QUILLET_TEST_WITH_QT 1
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    // Every test sees the same locale whatever the developer's, and finds the built programs.
    ::setenv("LC_ALL", "C.UTF-8", 1);
#ifdef QUILLET_TEST_BIN_DIR
    ::setenv("QUILLET_BIN_DIR", QUILLET_TEST_BIN_DIR, 0);
#endif
    ::testing::InitGoogleTest(&argc, argv);
#ifdef QUILLET_TEST_WITH_QT
    // ctest lists the tests without the test environment: without a platform named there is no
    // display to fall back on, so the listing would abort.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    TestApplication app(argc, argv);
#endif
    return RUN_ALL_TESTS();
}
