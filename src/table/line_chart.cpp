#include <algorithm>
#include <cmath>

#include "table/chart_ticks.h"

#include "table/timing_charts.h"

namespace qz {
namespace {

constexpr int kPoints = 21;
constexpr int kRpmStep = 500;

// How many marks fit along an axis with at least `minimumPixels` between them.
int marksFitting(double pixels, double minimumPixels, int most) {
    return std::clamp(static_cast<int>(pixels / minimumPixels), 1, most);
}

}  // namespace

LineChart::LineChart(const QString& name, QWidget* parent)
    : TimingChart(name, ChartKind::Line2D, parent) {}

void LineChart::setTable(const Table2DCells& table) {
    data_ = table;
    redraw();
}

void LineChart::setValue(int series, int point, double value) {
    data_(point, series) = value;
    redraw();
}

QPointF LineChart::position(double point, double value, const QRectF& plot) const {
    const ChartTemplate& t = look();
    const double x = plot.left() + (point - 1) / (kPoints - 1) * plot.width();
    const double y = plot.bottom() -
                     (value - t.valueMinimum) / (t.valueMaximum - t.valueMinimum) * plot.height();
    return {x, y};
}

QPointF LineChart::pointPosition(int series, int point, const QRectF& rect) const {
    return position(point, value(series, point), plotArea(rect));
}

void LineChart::paintData(QPainter& painter, const QRectF& plot) const {
    const ChartTemplate& t = look();
    const QFontMetricsF metrics(painter.font());
    // Grid lines and the value axis.
    for (const double v :
         axisTicks(t.valueMinimum, t.valueMaximum, marksFitting(plot.height(), 18, 40))) {
        const double y = position(1, v, plot).y();
        painter.setPen(QColor(225, 225, 225));
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(plot.left() - 46, y - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(v));
    }
    // The RPM axis.
    for (const double rpm : axisTicks(0, 10000, marksFitting(plot.width(), 44, 10))) {
        const double x = position(1 + rpm / kRpmStep, t.valueMinimum, plot).x();
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
                     t.xTitle);
    painter.save();
    painter.translate(plot.left() - 48, plot.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-plot.height() / 2, -metrics.height(), plot.height(), metrics.height()),
                     Qt::AlignCenter, t.yTitle);
    painter.restore();

    // The trigger timing line, then the advance curve with its points over it.
    painter.setClipRect(plot.adjusted(-6, -6, 6, 6));
    for (int series : {2, 1}) {
        QPolygonF line;
        for (int p = 1; p <= kPoints; ++p) line << position(p, value(series, p), plot);
        painter.setPen(QPen(series == 1 ? t.series1 : t.series2, series == 1 ? 2.0 : 1.5));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(line);
        if (series == 1) {
            painter.setBrush(t.series1);
            for (const QPointF& p : line) painter.drawEllipse(p, 3.5, 3.5);
        }
    }
    painter.setClipping(false);
    if (labelFirst_ >= 1 && labelFirst_ <= 2 && labelSecond_ >= 1 && labelSecond_ <= kPoints)
        paintValueLabel(painter, position(labelSecond_, value(labelFirst_, labelSecond_), plot));
}

ChartPick LineChart::pick(const QPointF& pixel) const {
    const QRectF plot = plotArea(rect());
    ChartPick best{plot.contains(pixel), 0, 0, 0};
    for (int series : {1, 2})
        for (int p = 1; p <= kPoints; ++p) {
            const QPointF at = position(p, value(series, p), plot);
            const double distance = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            if (best.first == 0 || distance < best.distance) {
                best.first = series;
                best.second = p;
                best.distance = distance;
            }
        }
    return best;
}

}  // namespace qz
