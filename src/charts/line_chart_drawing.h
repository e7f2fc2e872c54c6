#pragma once

#include <QPainter>
#include <QRectF>

#include "charts/chart_drawing.h"
#include "core/module_data.h"

namespace qz {

// The 2D chart as data: series 1 the advance curve, series 2 the flat trigger-timing line,
// each of 21 points numbered 1 to 21 over 0 to 10000 RPM.
struct LineChartData {
    Table2DCells table;  // table(point, series)
    ChartTemplate look;
    ValueLabel label;
};

// Where a data point is drawn in a chart of the given rectangle.
QPointF linePointPosition(const LineChartData& data, int series, int point, const QRectF& rect);

void paintLineChart(QPainter& painter, const QRectF& rect, const LineChartData& data);

}  // namespace qz
