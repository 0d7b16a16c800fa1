#include "render/ReportStyle.h"

#include <QPaintDevice>

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
