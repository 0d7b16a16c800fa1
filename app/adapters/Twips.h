#pragma once
// Window lengths are kept in twips, 1440 to the inch, so the window keeps its proportions on
// any screen; the screen's logical dots per inch turn them into pixels.

#include <QRect>
#include <cmath>

namespace quillet {

inline constexpr double kTwipsPerInch = 1440.0;

inline int twipsToPixels(double twips, double dotsPerInch) {
    return static_cast<int>(std::lround(twips * dotsPerInch / kTwipsPerInch));
}

inline double pixelsToTwips(double pixels, double dotsPerInch) {
    return pixels * kTwipsPerInch / dotsPerInch;
}

/// Each edge length is converted on its own, so equal twips always give equal pixels.
inline QRect twipsRect(int left, int top, int width, int height, double dpiX, double dpiY) {
    return QRect(twipsToPixels(left, dpiX), twipsToPixels(top, dpiY), twipsToPixels(width, dpiX),
                 twipsToPixels(height, dpiY));
}

}  // namespace quillet
