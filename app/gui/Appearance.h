#pragma once
// The window's colours and fonts.

#include <QColor>
#include <QFont>
#include <QString>

namespace quillet {

inline const QColor kWindowGreen{0, 128, 0};
inline const QColor kTitleBandRed{128, 0, 0};
inline const QColor kCaptionWhite{255, 255, 255};
inline const QColor kBoxGrey{224, 224, 224};
inline const QColor kBoxText{0, 0, 0};
inline const QColor kCalculateYellow{255, 255, 128};
inline const QColor kDeveloperGreen{128, 255, 128};

inline constexpr double kControlPoints = 9.6;
inline constexpr double kTitlePoints = 10.8;
inline constexpr double kCalculatePoints = 13.2;
inline constexpr double kGridCellPoints = 7.8;
inline constexpr double kGridHeadingPoints = 10.8;

/// The family the window is drawn in: MS Sans Serif where it is installed, else Liberation Sans,
/// which has the same letter widths as the usual sans serif of that desktop, else the
/// application's default family.
QString interfaceFontFamily();

/// A font of the interface family at the given size.
QFont interfaceFont(double points, bool bold);

/// \brief The look of a coloured command button: its face filled with exactly that colour, a
/// raised edge that sinks while pressed, and a darker edge while it has the focus. A style's own
/// button would shade and pale the colour.
QString colouredButtonStyle(const QColor& face);

}  // namespace quillet
