#include "charts/surface_chart_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "charts/advance_colours.h"
#include "charts/chart_ticks.h"
#include "image/table_layout.h"

namespace qz {
namespace {

constexpr int kColumns = kRpmBreakpoints;
constexpr int kRows = kPressureRows;

QColor shade(const ChartTemplate& look, double advance) {
    return advanceColour(advance, look.valueMinimum, look.valueMaximum, look.surfaceLow,
                         look.surfaceHigh);
}

// The floor with its grid, under the surface.
void paintFloor(QPainter& painter, const SurfaceProjection& view, double floor) {
    QPolygonF outline;
    for (const auto& [x, y] : {std::pair{1, 1}, {kColumns, 1}, {kColumns, kRows}, {1, kRows}})
        outline << view.project(x, y, floor);
    painter.setPen(QColor(200, 200, 200));
    painter.setBrush(QColor(245, 245, 245));
    painter.drawPolygon(outline);
    for (int x = 1; x <= kColumns; x += 4)
        painter.drawLine(view.project(x, 1, floor), view.project(x, kRows, floor));
    for (int y = 1; y <= kRows; ++y)
        painter.drawLine(view.project(1, y, floor), view.project(kColumns, y, floor));
}

// One quadrilateral per four neighbouring points, drawn from the back to the front.
void paintSurface(QPainter& painter, const SurfaceProjection& view, const SurfaceChartData& data) {
    const ChartTemplate& look = data.look;
    struct Patch {
        double depth;
        double advance;
        QPolygonF corners;
    };
    std::vector<Patch> patches;
    patches.reserve((kColumns - 1) * (kRows - 1));
    for (int x = 1; x < kColumns; ++x)
        for (int y = 1; y < kRows; ++y) {
            const int xs[] = {x, x + 1, x + 1, x};
            const int ys[] = {y, y, y + 1, y + 1};
            Patch patch{0, 0, {}};
            for (int k = 0; k < 4; ++k) {
                const double value = data.table(xs[k], ys[k]);
                const double z = std::clamp(value, look.valueMinimum, look.valueMaximum);
                patch.corners << view.project(xs[k], ys[k], z);
                patch.depth += view.depth(xs[k], ys[k], z) / 4;
                patch.advance += value / 4;
            }
            patches.push_back(std::move(patch));
        }
    std::sort(patches.begin(), patches.end(),
              [](const Patch& a, const Patch& b) { return a.depth > b.depth; });
    for (const Patch& patch : patches) {
        const QColor fill = shade(look, patch.advance);
        painter.setPen(QPen(fill.darker(150), 0.8));
        painter.setBrush(fill);
        painter.drawPolygon(patch.corners);
    }
}

// Over the surface, so nothing hides them: the advance scale at the floor corner furthest
// left on the screen (the vertical edge there is the box's left edge, so the surface never
// lies beyond it and the labels outside it stay readable however the view is turned), the
// RPM and pressure labels along the floor edges nearest the viewer, and each axis's title
// beyond its labels.
void paintScales(QPainter& painter, const SurfaceProjection& view, const SurfaceChartData& data) {
    const ChartTemplate& look = data.look;
    const double floor = look.valueMinimum;
    const QFontMetricsF metrics(painter.font());
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);

    int cornerX = 1;
    int cornerY = 1;
    for (const auto& [x, y] : {std::pair{1, 1}, {kColumns, 1}, {kColumns, kRows}, {1, kRows}})
        if (view.project(x, y, floor).x() < view.project(cornerX, cornerY, floor).x()) {
            cornerX = x;
            cornerY = y;
        }
    // Zoomed in far enough to put that corner out of sight, the scale stays at the plotting
    // area's left edge: its heights are still those of the corner's vertical edge.
    const QPointF shift(
        std::max(0.0, view.area().left() - view.project(cornerX, cornerY, floor).x()), 0);
    const QPointF base = view.project(cornerX, cornerY, floor) + shift;
    const QPointF top = view.project(cornerX, cornerY, look.valueMaximum) + shift;
    painter.drawLine(base, top);
    const int most = std::clamp(static_cast<int>((base.y() - top.y()) / 18), 1, 12);
    double widest = 0;
    for (const double v : axisTicks(floor, look.valueMaximum, most)) {
        const QPointF at = view.project(cornerX, cornerY, v) + shift;
        const QString text = QString::number(v);
        widest = std::max(widest, metrics.horizontalAdvance(text));
        painter.drawLine(at, at + QPointF(-4, 0));
        painter.drawText(QRectF(at.x() - 46, at.y() - 8, 40, 16), Qt::AlignRight | Qt::AlignVCenter,
                         text);
    }
    painter.save();
    painter.translate(base.x() - 12 - widest - metrics.height() / 2, (base.y() + top.y()) / 2);
    painter.rotate(-90);
    painter.drawText(QRectF(-150, -metrics.height() / 2, 300, metrics.height()), Qt::AlignCenter,
                     look.zTitle);
    painter.restore();

    // Labels along the nearer edge of each direction, a little outside the floor; the title
    // further out, at the middle of that edge.
    const int nearY = view.depth(11, 1, floor) < view.depth(11, kRows, floor) ? 1 : kRows;
    const int nearX = view.depth(1, 4.5, floor) < view.depth(kColumns, 4.5, floor) ? 1 : kColumns;
    const double outY = nearY == 1 ? -1 : 1;
    const double outX = nearX == 1 ? -1 : 1;
    auto centred = [&](const QPointF& at, const QString& text) {
        const double width = metrics.horizontalAdvance(text) + 4;
        painter.drawText(
            QRectF(at.x() - width / 2, at.y() - metrics.height() / 2, width, metrics.height()),
            Qt::AlignCenter, text);
    };
    for (int x = 1; x <= kColumns; x += 4)
        centred(view.project(x, nearY + 0.9 * outY, floor), QString::number(rpmBreakpoint(x)));
    // Every other pressure label where the rows lie too close on the screen for all of them.
    const QPointF rowStep = view.project(nearX, 2, floor) - view.project(nearX, 1, floor);
    const int every = std::hypot(rowStep.x(), rowStep.y()) < metrics.height() ? 2 : 1;
    for (int y = 1; y <= kRows; y += every)
        centred(view.project(nearX + 1.6 * outX, y, floor),
                QString::number(data.pressureLabels[static_cast<std::size_t>(y - 1)]));
    centred(view.project(13, nearY + 3.2 * outY, floor), look.xTitle);
    centred(view.project(nearX + 4.5 * outX, 4.5, floor), look.yTitle);
}

}  // namespace

SurfaceProjection surfaceProjection(const SurfaceChartData& data, const QRectF& rect) {
    SurfaceProjection view(chartPlotArea(rect), data.look.valueMinimum, data.look.valueMaximum);
    view.setView(data.rotation, data.elevation, data.scale);
    return view;
}

namespace {

bool onSurface(int x, int y) {
    return x >= 1 && x <= kColumns && y >= 1 && y <= kRows;
}

// A block selected in the grid is outlined along the surface, so the tuner sees on the chart
// which cells the keys will move; the current cell's point is ringed.
void paintSelection(QPainter& painter, const SurfaceProjection& view,
                    const SurfaceChartData& data) {
    const SurfaceSelection& s = data.selection;
    if (!onSurface(s.left, s.low) || !onSurface(s.right, s.high)) return;
    const auto point = [&](int x, int y) { return view.project(x, y, data.table(x, y)); };
    QPolygonF outline;
    for (int x = s.left; x <= s.right; ++x) outline << point(x, s.low);
    for (int y = s.low + 1; y <= s.high; ++y) outline << point(s.right, y);
    for (int x = s.right - 1; x >= s.left; --x) outline << point(x, s.high);
    for (int y = s.high - 1; y > s.low; --y) outline << point(s.left, y);
    painter.setPen(QPen(QColor(20, 20, 20), 2.5));
    painter.setBrush(Qt::NoBrush);
    if (outline.size() == 1)
        painter.drawEllipse(outline.front(), 3, 3);
    else
        painter.drawPolygon(outline);
    if (onSurface(s.x, s.y)) {
        painter.setPen(QPen(QColor(255, 255, 255), 2));
        painter.setBrush(QColor(20, 20, 20));
        painter.drawEllipse(point(s.x, s.y), 5, 5);
    }
}

}  // namespace

void paintSurfaceChart(QPainter& painter, const QRectF& rect, const SurfaceChartData& data) {
    painter.save();
    paintChartFrame(painter, rect, data.look);
    const SurfaceProjection view = surfaceProjection(data, rect);
    paintFloor(painter, view, data.look.valueMinimum);
    paintSurface(painter, view, data);
    paintScales(painter, view, data);
    paintSelection(painter, view, data);
    const ValueLabel& label = data.label;
    if (label.first >= 1 && label.first <= kColumns && label.second >= 1 && label.second <= kRows)
        paintValueLabel(
            painter, view.project(label.first, label.second, data.table(label.first, label.second)),
            label, data.look);
    painter.restore();
}

}  // namespace qz
