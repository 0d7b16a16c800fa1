// visitor-register            the window
// visitor-register --demo     saves a sample visit, finds it by its serial, extends its validity
//                             and lists the register, printing each step; exit status 0 when
//                             every step did what it should
#include <QApplication>
#include <QMessageBox>
#include <cstdio>

#include "VisitorWindow.h"

namespace {

int demo(VisitorWindow& window) {
    window.fillSample();
    if (!window.saveVisit()) {
        std::puts("save: refused");
        return 1;
    }
    const int serial = window.shownSerial();
    std::printf("saved: visit %d\n", serial);

    window.fillSample();  // the form as someone else left it
    window.setValidity(QDate(2000, 1, 1), QDate(2000, 1, 2));
    if (!window.findVisit(serial) || window.shownName() != "Asha Verma" ||
        window.shownValidTo() != QDate(2026, 12, 15)) {
        std::puts("find: the saved visit did not come back");
        return 1;
    }
    std::printf("found: visit %d of %s\n", serial, qPrintable(window.shownName()));

    window.setValidity(QDate(2026, 12, 1), QDate(2027, 1, 31));
    if (!window.updateValidity()) {
        std::puts("update: refused");
        return 1;
    }
    std::printf("updated: visit %d valid to 31/01/2027\n", serial);

    window.listVisitors();
    std::printf("listed: %d visitors\n", window.listedRows());
    return window.listedRows() > 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool scripted = app.arguments().contains("--demo");
    // The class's messages as message boxes, except in the scripted run, where nobody would
    // close them: there they go to standard error.
    if (!scripted) {
        quillet::installMessageBoxService(std::make_shared<quillet::QtMessageBoxes>());
    }
    VisitorWindow window;
    if (scripted) {
        return demo(window);
    }
    window.resize(1100, 640);
    window.show();
    return app.exec();
}
