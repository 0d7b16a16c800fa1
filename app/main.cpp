// The loan calculator: one window; the program ends when it closes.
#include <QApplication>
#include <memory>

#include "adapters/QtMessageBoxes.h"
#include "gui/Form1.h"
#include "ui/MessageBox.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
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
