#include "charts/line_chart_drawing.h"

#include <algorithm>

#include "charts/chart_ticks.h"
#include "image/table_layout.h"

namespace qz {
namespace {

// How many marks fit along an axis with at least `minimumPixels` between them.
int marksFitting(double pixels, double minimumPixels, int most) {
    return std::clamp(static_cast<int>(pixels / minimumPixels), 1, most);
}

QPointF position(const ChartTemplate& look, double point, double value, const QRectF& plot) {
    const double x = plot.left() + (point - 1) / (kRpmBreakpoints - 1) * plot.width();
    const double y = plot.bottom() - (value - look.valueMinimum) /
                                         (look.valueMaximum - look.valueMinimum) * plot.height();
    return {x, y};
}

void paintAxes(QPainter& painter, const ChartTemplate& look, const QRectF& plot) {
    const QFontMetricsF metrics(painter.font());
    for (const double v :
         axisTicks(look.valueMinimum, look.valueMaximum, marksFitting(plot.height(), 18, 40))) {
        const double y = position(look, 1, v, plot).y();
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 46, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v));
    }
    for (const double rpm : axisTicks(0, 10000, marksFitting(plot.width(), 44, 10))) {
        const double x = position(look, 1 + rpm / 500, look.valueMinimum, plot).x();
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(x - 30, plot.bottom() + 4, 60, 16), Qt::AlignCenter,
                         QString::number(rpm));
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot);
    painter.drawText(QRectF(plot.left(), plot.bottom() + 20, plot.width(), 20), Qt::AlignCenter,
                     look.xTitle);
    painter.save();
    painter.translate(plot.left() - 48, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -metrics.height(), plot.height(), metrics.height()),
                     Qt::AlignCenter, look.yTitle);
    painter.restore();
}

}  // namespace

QPointF linePointPosition(const LineChartData& data, int series, int point, const QRectF& rect) {
    return position(data.look, point, data.table(point, series), chartPlotArea(rect));
}

void paintLineChart(QPainter& painter, const QRectF& rect, const LineChartData& data) {
    painter.save();
    paintChartFrame(painter, rect, data.look);
    const QRectF plot = chartPlotArea(rect);
    const ChartTemplate& look = data.look;
    paintAxes(painter, look, plot);
    // The trigger timing line, then the advance curve with its points over it.
    painter.save();
    painter.setClipRect(plot.adjusted(-6, -6, 6, 6), Qt::IntersectClip);
    for (int series : {2, 1}) {
        QPolygonF line;
        for (int p = 1; p <= kRpmBreakpoints; ++p)
            line << position(look, p, data.table(p, series), plot);
        painter.setPen(QPen(series == 1 ? look.series1 : look.series2, series == 1 ? 2.0 : 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        if (series == 1) {
            painter.setBrush(look.series1);
            for (const QPointF& p : line) painter.drawEllipse(p, 3.5, 3.5);
        }
    }
    painter.restore();
    const ValueLabel& label = data.label;
    if (label.first >= 1 && label.first <= 2 && label.second >= 1 &&
        label.second <= kRpmBreakpoints)
        paintValueLabel(painter,
                        position(look, label.second, data.table(label.second, label.first), plot),
                        label, look);
    painter.restore();
}

}  // namespace qz
