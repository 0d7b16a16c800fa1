#include "render/ReportChart.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

#include "render/ReportStyle.h"
#include "render/ScheduleReport.h"
#include "report/ReportNumbers.h"
#include "runtime/Numbers.h"
#include "runtime/Text.h"

namespace quillet {

namespace {

/// How the axis of a figure writes its numbers: as the report's column of that figure does.
struct AxisFormat {
    ValueFormat format = ValueFormat::General;
    int decimals = -1;

    QString text(double value) const {
        if (format == ValueFormat::Fixed || format == ValueFormat::Grouped) {
            return QString::fromStdString(
                formatFixed(value, decimals, format == ValueFormat::Grouped));
        }
        return QString::fromStdString(formatGeneral(value));
    }
    /// The smallest step the format can tell apart from its neighbour.
    double smallestStep() const { return decimals > 0 ? std::pow(10.0, -decimals) : 1.0; }
};

AxisFormat axisFormatOf(const ReportContent& content, const char* storedName) {
    const auto& columns = content.definition.columns;
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].addedSources.empty() && equalsIgnoringCase(columns[c].source, storedName)) {
            // The marks of an axis are whole units: decimals would only print ".00" after each.
            return {columns[c].format, content.table.decimals[c] >= 0 ? 0 : -1};
        }
    }
    return {};
}

/// A step of 1, 2, 2.5 or 5 times a power of ten giving about five intervals up to top.
double niceStep(double top, double smallest) {
    if (top <= 0) {
        return smallest;
    }
    const double rough = top / 5;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    double step = power * 10;
    for (const double factor : {1.0, 2.0, 2.5, 5.0}) {
        // A step of 2.5 units would put marks between whole units.
        const bool whole = std::fmod(power * factor, smallest) == 0;
        if (power * factor >= rough && whole) {
            step = power * factor;
            break;
        }
    }
    return std::max(step, smallest);
}

/// One panel: a title, a y axis with labelled ticks and the plot area beside it.
class Panel {
public:
    Panel(QPainter& painter, const QRectF& area, double scale, double top, const AxisFormat& axis,
          const QString& title)
        : m_painter(painter), m_scale(scale), m_axis(axis) {
        const QFontMetricsF metrics(painter.font(), painter.device());
        m_step = niceStep(top, axis.smallestStep());
        m_top = std::max(m_step, std::ceil(top / m_step - 1e-9) * m_step);
        double labelWidth = 0;
        for (double v = 0; v <= m_top + m_step / 2; v += m_step) {
            labelWidth = std::max(labelWidth, metrics.horizontalAdvance(axis.text(v)));
        }
        const double line = metrics.height();
        m_plot = QRectF(area.left() + labelWidth + px(4), area.top() + line * 1.6,
                        area.width() - labelWidth - px(6), area.height() - line * 3.0);
        painter.save();
        QFont bold = painter.font();
        bold.setWeight(QFont::Bold);
        painter.setFont(bold);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), area.top(), area.width(), line),
                         Qt::AlignLeft | Qt::AlignVCenter, title);
        painter.restore();
        painter.setPen(QPen(reportStyle::kRowRule, px(0.5)));
        for (double v = 0; v <= m_top + m_step / 2; v += m_step) {
            const double y = yOf(v);
            painter.setPen(QPen(reportStyle::kRowRule, px(0.5)));
            painter.drawLine(QPointF(m_plot.left(), y), QPointF(m_plot.right(), y));
            painter.setPen(reportStyle::kMutedText);
            painter.drawText(QRectF(area.left(), y - line / 2, labelWidth, line),
                             Qt::AlignRight | Qt::AlignVCenter, axis.text(v));
        }
        painter.setPen(QPen(reportStyle::kStrongRule, px(0.75)));
        painter.drawLine(m_plot.bottomLeft(), m_plot.bottomRight());
        painter.drawLine(m_plot.bottomLeft(), m_plot.topLeft());
    }

    const QRectF& plot() const { return m_plot; }
    double yOf(double value) const {
        return m_plot.bottom() - m_plot.height() * std::clamp(value / m_top, 0.0, 1.0);
    }
    double px(double points) const { return points * m_scale; }

    /// Labels the x axis: text at x, under the plot, centred.
    void xLabel(double x, const QString& text) {
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        const double width = metrics.horizontalAdvance(text);
        m_painter.setPen(reportStyle::kMutedText);
        m_painter.drawText(QPointF(x - width / 2, m_plot.bottom() + metrics.ascent() + px(2)),
                           text);
    }
    /// The axis caption under the labels, at the right end.
    void xCaption(const QString& text) {
        const QFontMetricsF metrics(m_painter.font(), m_painter.device());
        m_painter.setPen(reportStyle::kMutedText);
        m_painter.drawText(QRectF(m_plot.left(), m_plot.bottom() + metrics.height() + px(2),
                                  m_plot.width(), metrics.height()),
                           Qt::AlignRight | Qt::AlignVCenter, text);
    }

private:
    QPainter& m_painter;
    double m_scale;
    AxisFormat m_axis;
    double m_step = 1;
    double m_top = 1;
    QRectF m_plot;
};

/// About count labels from 1 to last: a whole step of 1, 2 or 5 times a power of ten.
int labelStep(int last, int count) {
    const double step = niceStep(static_cast<double>(last) * 5 / count, 1.0);
    return std::max(1, static_cast<int>(step == 2.5 ? 2 : std::lround(step)));
}

void drawBalance(QPainter& painter, const QRectF& area, const ReportContent& content,
                 double scale) {
    const ScheduleSeries& series = content.table.series;
    const auto months = static_cast<int>(series.closingBalance.size());
    Panel panel(painter, area, scale, series.highestBalance,
                axisFormatOf(content, "ClosingBalance"), QStringLiteral("Balance owed"));
    const QRectF& plot = panel.plot();
    const auto xOf = [&](double month) { return plot.left() + plot.width() * month / months; };
    // At most one point per half point of width: a longer schedule is sampled, and the line
    // still ends at the last month.
    const int points = std::max(2, static_cast<int>(plot.width() / panel.px(0.5)));
    const int stride = std::max(1, months / points);
    QPainterPath line(QPointF(xOf(0), panel.yOf(series.openingBalance)));
    for (int m = stride; m < months; m += stride) {
        line.lineTo(xOf(m), panel.yOf(series.closingBalance[static_cast<std::size_t>(m - 1)]));
    }
    line.lineTo(xOf(months), panel.yOf(series.closingBalance.back()));
    painter.setPen(QPen(reportStyle::kBalanceLine, panel.px(1.2)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(line);
    const int step = labelStep(months, 5);
    panel.xLabel(xOf(0), QStringLiteral("0"));
    for (int m = step; m <= months; m += step) {
        panel.xLabel(xOf(m), QString::number(m));
    }
    panel.xCaption(QStringLiteral("month"));
}

void drawYearlyBars(QPainter& painter, const QRectF& area, const ReportContent& content,
                    double scale) {
    const ScheduleSeries& series = content.table.series;
    // The sums per bar were made with the totals, in the one pass over the rows.
    const std::vector<double>& interest = series.interestPerBar;
    const std::vector<double>& principal = series.principalPerBar;
    const int yearsPerBar = series.yearsPerBar;
    const auto bars = static_cast<int>(interest.size());
    double top = 0;
    for (std::size_t b = 0; b < interest.size(); ++b) {
        top = std::max(top, std::max(0.0, interest[b]) + std::max(0.0, principal[b]));
    }
    const QString title = yearsPerBar == 1 ? QStringLiteral("Paid each year")
                                           : QStringLiteral("Paid every %1 years").arg(yearsPerBar);
    Panel panel(painter, area, scale, top, axisFormatOf(content, "Interest"), title);
    const QRectF& plot = panel.plot();
    const double slot = plot.width() / bars;
    painter.setPen(Qt::NoPen);
    for (int b = 0; b < bars; ++b) {
        const auto i = static_cast<std::size_t>(b);
        const double x = plot.left() + slot * (b + 0.15);
        const double principalTop = panel.yOf(std::max(0.0, principal[i]));
        const double stackTop = panel.yOf(std::max(0.0, principal[i]) + std::max(0.0, interest[i]));
        painter.fillRect(QRectF(x, principalTop, slot * 0.7, plot.bottom() - principalTop),
                         reportStyle::kPrincipalBar);
        painter.fillRect(QRectF(x, stackTop, slot * 0.7, principalTop - stackTop),
                         reportStyle::kInterestBar);
    }
    const int step = labelStep(bars, 6);
    for (int b = 0; b < bars; b += step) {
        panel.xLabel(plot.left() + slot * (b + 0.5), QString::number(b * yearsPerBar + 1));
    }
    panel.xCaption(QStringLiteral("year"));
    // The legend, at the top right of the panel.
    const QFontMetricsF metrics(painter.font(), painter.device());
    double x = area.right();
    for (const auto& [name, colour] :
         {std::pair{QStringLiteral("Principal"), reportStyle::kPrincipalBar},
          std::pair{QStringLiteral("Interest"), reportStyle::kInterestBar}}) {
        x -= metrics.horizontalAdvance(name);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(x, area.top() + metrics.ascent()), name);
        x -= metrics.height() * 0.9;
        painter.fillRect(QRectF(x, area.top() + metrics.height() * 0.15, metrics.height() * 0.7,
                                metrics.height() * 0.7),
                         colour);
        x -= metrics.height();
    }
}

}  // namespace

void drawScheduleChart(QPainter& painter, const QRectF& area, const ReportContent& content,
                       double scale) {
    if (content.table.series.closingBalance.empty()) {
        return;
    }
    painter.save();
    QFont font = reportStyle::font(content.definition, content.definition.fontSize * 0.85);
    painter.setFont(QFont(font, painter.device()));
    const double gap = 16 * scale;
    const double half = (area.width() - gap) / 2;
    drawBalance(painter, QRectF(area.left(), area.top(), half, area.height()), content, scale);
    drawYearlyBars(painter, QRectF(area.left() + half + gap, area.top(), half, area.height()),
                   content, scale);
    painter.restore();
}

}  // namespace quillet
