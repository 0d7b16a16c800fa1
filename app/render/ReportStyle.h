#pragma once
// The look of the printed schedule, in one place: type sizes, spacing, rules and shades. Lengths
// are in points; the heights of the blocks follow from the font size alone, so the pages break
// at the same rows on every device.

#include <QColor>
#include <QFont>

#include "report/ReportDefinition.h"

class QPaintDevice;

namespace quillet::reportStyle {

inline constexpr double kTitleScale = 1.7;
inline constexpr double kSubtitleScale = 1.15;
inline constexpr double kBandScale = 0.85;
/// A line of text takes this many times its font size.
inline constexpr double kLineSpacing = 1.3;
inline constexpr double kCellPadding = 2.5;
inline constexpr double kInputsPadding = 3;
inline constexpr double kBlockGap = 10;
inline constexpr double kBandGap = 8;
/// The note under the totals: smaller type, a little below the totals row.
inline constexpr double kNoteScale = 0.85;
inline constexpr double kNoteGap = 3;
/// The chart's height: a share of the page body, at most kChartMaxHeight.
inline constexpr double kChartShare = 0.32;
inline constexpr double kChartMaxHeight = 230;

inline const QColor kRule{0x80, 0x80, 0x80};
inline const QColor kHeadingShade{0xdd, 0xe3, 0xea};
inline const QColor kStrongRule{0x33, 0x33, 0x33};
inline const QColor kRowRule{0xd0, 0xd5, 0xdb};
inline const QColor kTotalsShade{0xe8, 0xec, 0xf0};
inline const QColor kInputsShade{0xf7, 0xf8, 0xfa};
inline const QColor kMutedText{0x44, 0x44, 0x44};
inline const QColor kBalanceLine{0x1f, 0x4e, 0x79};
inline const QColor kInterestBar{0xc0, 0x50, 0x4d};
inline const QColor kPrincipalBar{0x4f, 0x81, 0xbd};

/// The definition's font at pointSize: its family, or the platform's sans-serif face.
QFont font(const ReportDefinition& definition, double pointSize);

/// Points to device pixels, for drawing on the device with a painter.
double pixels(const QPaintDevice& device, double points);

/// The height of a line of text at pointSize.
inline double lineHeight(double pointSize) {
    return pointSize * kLineSpacing;
}

}  // namespace quillet::reportStyle
