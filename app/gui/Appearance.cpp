#include "gui/Appearance.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStringList>

namespace quillet {

QString interfaceFontFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* wanted : {"MS Sans Serif", "Liberation Sans"}) {
            if (installed.contains(QString::fromLatin1(wanted), Qt::CaseInsensitive)) {
                return QString::fromLatin1(wanted);
            }
        }
        return QApplication::font().family();
    }();
    return family;
}

QFont interfaceFont(double points, bool bold) {
    QFont font(interfaceFontFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

QString colouredButtonStyle(const QColor& face) {
    constexpr int kEdgeDarkness = 160;
    constexpr int kFocusDarkness = 300;
    return QStringLiteral(
               "QPushButton { background-color: %1; color: black;"
               " border: 2px outset %2; border-radius: 2px; }"
               "QPushButton:focus { border-color: %3; }"
               "QPushButton:pressed { border-style: inset; padding-top: 2px;"
               " padding-left: 2px; }")
        .arg(face.name(), face.darker(kEdgeDarkness).name(), face.darker(kFocusDarkness).name());
}

}  // namespace quillet
