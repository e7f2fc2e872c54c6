#include <QPainter>
#include <cmath>

#include "image/table_layout.h"
#include "table/timing_charts.h"

namespace qz {

LineChart::LineChart(const QString& name, QWidget* parent)
    : TimingChart(name, ChartKind::Line2D, parent) {}

void LineChart::setTable(const Table2DCells& table) {
    table_ = table;
    redraw();
}

void LineChart::setValue(int series, int point, double value) {
    table_(point, series) = value;
    redraw();
}

QPointF LineChart::pointPosition(int series, int point, const QRectF& rect) const {
    return linePointPosition(data(), series, point, rect);
}

void LineChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintLineChart(painter, rect(), data());
}

ChartPicture LineChart::picture() const {
    LineChartData shown = data();
    shown.label.visible = false;
    return [shown](QPainter& painter, const QRectF& rect) { paintLineChart(painter, rect, shown); };
}

ChartPick LineChart::pick(const QPointF& pixel) const {
    const QRectF area = rect();
    ChartPick best{chartPlotArea(area).contains(pixel), 0, 0, 0};
    for (int series : {1, 2})
        for (int p = 1; p <= kRpmBreakpoints; ++p) {
            const QPointF at = pointPosition(series, p, area);
            const double distance = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            if (best.first == 0 || distance < best.distance)
                best = {best.inPlotArea, series, p, distance};
        }
    return best;
}

}  // namespace qz
