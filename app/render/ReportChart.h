#pragma once
// The chart of the first page: the balance falling month by month, and the interest and
// principal paid in each year as stacked bars, both with axes in the report's number format.

class QPainter;
class QRectF;

namespace quillet {

struct ReportContent;

/// \brief Draws the chart into area (device pixels); scale is the device's pixels per point.
/// Draws nothing when the report holds no schedule series.
void drawScheduleChart(QPainter& painter, const QRectF& area, const ReportContent& content,
                       double scale);

}  // namespace quillet
