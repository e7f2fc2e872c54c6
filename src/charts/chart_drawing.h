#pragma once

#include <QPainter>
#include <QRectF>
#include <QString>
#include <functional>

#include "charts/chart_template.h"

namespace qz {

// Value label 1 of a chart: shown or not, the data point it is attached to, its text.
struct ValueLabel {
    bool visible = false;
    int first = 1;   // 2D: the series; 3D: x, the RPM column
    int second = 1;  // 2D: the point; 3D: y, the pressure row
    QString text;
};

// A chart drawn on any painter into any rectangle: the screen, an image, a printed page.
using ChartPicture = std::function<void(QPainter&, const QRectF&)>;

// Where the data is drawn within a chart of the given rectangle: room above for the title,
// at the left for the value axis, below for the RPM axis.
QRectF chartPlotArea(const QRectF& rect);

// The white ground and the template's title; what is painted after it stays below the title
// and inside the rectangle, however far a view is zoomed. The caller saves and restores the
// painter around it.
void paintChartFrame(QPainter& painter, const QRectF& rect, const ChartTemplate& look);

// A small box with the label's text just above and right of the point it is attached to.
void paintValueLabel(QPainter& painter, const QPointF& at, const ValueLabel& label,
                     const ChartTemplate& look);

}  // namespace qz
