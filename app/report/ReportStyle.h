#pragma once
// The look of the printed schedule, in one place: type sizes, rules and shades.

#include <QColor>
#include <QFont>

#include "report/ReportDefinition.h"

class QPaintDevice;

namespace quillet::reportStyle {

inline constexpr double kTitleScale = 1.7;
inline constexpr double kSubtitleScale = 1.15;
inline constexpr double kBandScale = 0.85;

inline const QColor kRule{0x80, 0x80, 0x80};
inline const QColor kHeadingShade{0xdd, 0xe3, 0xea};
inline const QColor kStrongRule{0x33, 0x33, 0x33};
inline const QColor kRowRule{0xd0, 0xd5, 0xdb};
inline const QColor kTotalsShade{0xe8, 0xec, 0xf0};
inline const QColor kInputsShade{0xf7, 0xf8, 0xfa};
inline const QColor kMutedText{0x44, 0x44, 0x44};

/// The definition's font at pointSize: its family, or the platform's sans-serif face.
QFont font(const ReportDefinition& definition, double pointSize);

/// Points to device pixels, for drawing on the device with a painter.
double pixels(const QPaintDevice& device, double points);

/// Points to the units of a text document's frame lengths (borders, padding, margins).
double layoutLength(double points);

}  // namespace quillet::reportStyle
