#include "report/ReportStyle.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QScreen>

#include <cmath>

namespace quillet::reportStyle {

QFont font(const ReportDefinition& definition, double pointSize) {
    QFont chosen;
    chosen.setStyleHint(QFont::SansSerif);
    chosen.setFamily(definition.fontFamily.empty() ? QStringLiteral("Sans Serif")
                                                   : QString::fromStdString(definition.fontFamily));
    chosen.setPointSizeF(pointSize);
    return chosen;
}

double pixels(const QPaintDevice& device, double points) {
    return points * device.logicalDpiY() / 72.0;
}

}  // namespace quillet::reportStyle

namespace quillet::reportStyle {

double layoutLength(double points) {
    // NOTE: a text document laid out for a paint device converts font sizes in points for that
    // device directly, but takes frame lengths (borders, padding, margins) as pixels of the
    // default screen resolution and scales them to the device itself. So those lengths are
    // given in screen pixels here, whatever device the report is drawn on.
    double dpi = 96;
    if (!QCoreApplication::testAttribute(Qt::AA_Use96Dpi)) {
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            dpi = std::round(screen->logicalDotsPerInchY());
        }
    }
    return points * dpi / 72.0;
}

}  // namespace quillet::reportStyle
