// The loan calculator: one window; the program ends when it closes.
#include <QApplication>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "adapters/QtMessageBoxes.h"
#include "gui/Form1.h"
#include "gui/WindowCommandLine.h"
#include "render/QuietStartup.h"
#include "ui/MessageBox.h"

int main(int argc, char** argv) {
    // --version and --help are answered before Qt starts, so they need no display.
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (const auto status = quillet::answerWithoutWindow(args, QUILLET_VERSION, std::cout)) {
        return *status;
    }
    quillet::quietenStartupNotices();
    // Qt keeps argc and argv for the application's lifetime: both live until main returns.
    std::vector<std::string> qtLine =
        quillet::qtCommandLine(argc > 0 ? argv[0] : "quillet", args, QUILLET_APP_ID);
    std::vector<char*> qtArgv;
    for (std::string& arg : qtLine) {
        qtArgv.push_back(arg.data());
    }
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtLine.size());
    QApplication app(qtArgc, qtArgv.data());
    QApplication::setApplicationName(QStringLiteral("Quillet"));
    // Lets the desktop match the window to its menu entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
    // One style on every desktop, so the coloured buttons show their colours.
    QApplication::setStyle(QStringLiteral("Fusion"));
    quillet::installMessageBoxService(std::make_shared<quillet::QtMessageBoxes>());

    quillet::Form1 window;
    window.show();
    const int status = QApplication::exec();
    quillet::installMessageBoxService(nullptr);
    return status;
}
