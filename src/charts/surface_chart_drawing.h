#pragma once

#include <QPainter>
#include <QRectF>
#include <array>

#include "charts/chart_drawing.h"
#include "charts/surface_projection.h"
#include "core/module_data.h"

namespace qz {

// The cells selected in the table's grid, as surface points: x from `left` to `right`, y from
// `low` to `high`, and the current cell's point (x, y); none when `left` is 0.
struct SurfaceSelection {
    int left = 0;
    int right = 0;
    int low = 0;
    int high = 0;
    int x = 0;
    int y = 0;
    bool operator==(const SurfaceSelection&) const = default;
};

// The 3D chart as data: a 21 x 8 surface addressed (x, y), x the RPM column and y the
// pressure row (y = 1 the highest pressure), shaded by advance, seen from a turned view.
struct SurfaceChartData {
    Table3DCells table;
    ChartTemplate look;
    std::array<int, 8> pressureLabels{30, 28, 26, 24, 22, 20, 18, 16};  // y = 1 to 8
    double rotation = SurfaceProjection::kDefaultRotation;
    double elevation = SurfaceProjection::kDefaultElevation;
    double scale = 1;
    ValueLabel label;
    SurfaceSelection selection;
};

// The projection of a chart drawn in the given rectangle.
SurfaceProjection surfaceProjection(const SurfaceChartData& data, const QRectF& rect);

void paintSurfaceChart(QPainter& painter, const QRectF& rect, const SurfaceChartData& data);

}  // namespace qz
