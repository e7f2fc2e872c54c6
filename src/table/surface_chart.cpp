#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <vector>

#include "table/advance_colours.h"
#include "table/chart_ticks.h"
#include "table/timing_charts.h"

namespace qz {
namespace {

constexpr int kColumns = 21;
constexpr int kRows = 8;

}  // namespace

SurfaceChart::SurfaceChart(const QString& name, QWidget* parent)
    : TimingChart(name, ChartKind::Surface3D, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void SurfaceChart::setTable(const Table3DCells& table) {
    data_ = table;
    redraw();
}

void SurfaceChart::setValue(int x, int y, double value) {
    data_(x, y) = value;
    redraw();
}

void SurfaceChart::setPressureLabels(const std::array<int, 8>& labels) {
    pressureLabels_ = labels;
    redraw();
}

void SurfaceChart::setView(double rotation, double elevation, double scale) {
    view_.setView(rotation, elevation, scale);
    redraw();
}

SurfaceProjection SurfaceChart::projection(const QRectF& rect) const {
    SurfaceProjection view(plotArea(rect), look().valueMinimum, look().valueMaximum);
    view.setView(view_.rotation(), view_.elevation(), view_.scale());
    return view;
}

void SurfaceChart::paintData(QPainter& painter, const QRectF& plot) const {
    const ChartTemplate& t = look();
    SurfaceProjection view(plot, t.valueMinimum, t.valueMaximum);
    view.setView(view_.rotation(), view_.elevation(), view_.scale());
    paintFloor(painter, view);

    // One quadrilateral per four neighbouring points, drawn from the back to the front.
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
                const double z = std::clamp(value(xs[k], ys[k]), t.valueMinimum, t.valueMaximum);
                patch.corners << view.project(xs[k], ys[k], z);
                patch.depth += view.depth(xs[k], ys[k], z) / 4;
                patch.advance += value(xs[k], ys[k]) / 4;
            }
            patches.push_back(std::move(patch));
        }
    std::sort(patches.begin(), patches.end(),
              [](const Patch& a, const Patch& b) { return a.depth > b.depth; });
    for (const Patch& patch : patches) {
        const QColor fill = advanceColour(patch.advance);
        painter.setPen(QPen(fill.darker(150), 0.8));
        painter.setBrush(fill);
        painter.drawPolygon(patch.corners);
    }
    paintScales(painter, view);
    if (labelFirst_ >= 1 && labelFirst_ <= kColumns && labelSecond_ >= 1 && labelSecond_ <= kRows)
        paintValueLabel(painter,
                        view.project(labelFirst_, labelSecond_, value(labelFirst_, labelSecond_)));
}

// The floor with its grid, under the surface.
void SurfaceChart::paintFloor(QPainter& painter, const SurfaceProjection& view) const {
    const double floor = look().valueMinimum;
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

// Over the surface, so nothing hides them: the advance scale at the floor corner furthest
// left on the screen (the vertical edge there is the box's left edge, so the surface never
// lies beyond it and the labels outside it stay readable however the view is turned), the
// RPM and pressure labels along the floor edges nearest the viewer, and each axis's title
// beyond its labels.
void SurfaceChart::paintScales(QPainter& painter, const SurfaceProjection& view) const {
    const ChartTemplate& t = look();
    const double floor = t.valueMinimum;
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
    const QPointF top = view.project(cornerX, cornerY, t.valueMaximum) + shift;
    painter.drawLine(base, top);
    const int most = std::clamp(static_cast<int>((base.y() - top.y()) / 18), 1, 12);
    double widest = 0;
    for (const double v : axisTicks(floor, t.valueMaximum, most)) {
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
                     t.zTitle);
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
        centred(view.project(x, nearY + 0.9 * outY, floor), QString::number((x - 1) * 500));
    // Every other pressure label where the rows lie too close on the screen for all of them.
    const QPointF rowStep = view.project(nearX, 2, floor) - view.project(nearX, 1, floor);
    const int every = std::hypot(rowStep.x(), rowStep.y()) < metrics.height() ? 2 : 1;
    for (int y = 1; y <= kRows; y += every)
        centred(view.project(nearX + 1.6 * outX, y, floor),
                QString::number(pressureLabels_[static_cast<std::size_t>(y - 1)]));
    centred(view.project(13, nearY + 3.2 * outY, floor), t.xTitle);
    centred(view.project(nearX + 4.5 * outX, 4.5, floor), t.yTitle);
}

ChartPick SurfaceChart::pick(const QPointF& pixel) const {
    const SurfaceProjection view = projection(rect());
    ChartPick best{plotArea(rect()).contains(pixel), 0, 0, 0};
    for (int x = 1; x <= kColumns; ++x)
        for (int y = 1; y <= kRows; ++y) {
            const QPointF at = view.project(x, y, value(x, y));
            const double distance = std::hypot(at.x() - pixel.x(), at.y() - pixel.y());
            if (best.first == 0 || distance < best.distance)
                best = {best.inPlotArea, x, y, distance};
        }
    return best;
}

double SurfaceChart::valueThrough(int x, int y, const QPointF& pixel) const {
    return projection(rect()).valueThrough(x, y, pixel);
}

// The right and the middle button turn the view; every button is also reported, for the
// editing that drags points with the left one.
void SurfaceChart::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton)
        turning_ = event->position().toPoint();
    TimingChart::mousePressEvent(event);
}

void SurfaceChart::mouseMoveEvent(QMouseEvent* event) {
    if (turning_) {
        const QPoint now = event->position().toPoint();
        const QPoint moved = now - *turning_;
        turning_ = now;
        setView(view_.rotation() - moved.x() * 0.5, view_.elevation() + moved.y() * 0.3,
                view_.scale());
    }
    TimingChart::mouseMoveEvent(event);
}

void SurfaceChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) turning_.reset();
    TimingChart::mouseReleaseEvent(event);
}

void SurfaceChart::wheelEvent(QWheelEvent* event) {
    setView(view_.rotation(), view_.elevation(),
            view_.scale() * std::pow(1.1, event->angleDelta().y() / 120.0));
}

void SurfaceChart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Home:  // the view the chart opens with
            return setView(SurfaceProjection::kDefaultRotation,
                           SurfaceProjection::kDefaultElevation, 1);
        case Qt::Key_Left:
            return setView(view_.rotation() + 5, view_.elevation(), view_.scale());
        case Qt::Key_Right:
            return setView(view_.rotation() - 5, view_.elevation(), view_.scale());
        case Qt::Key_Up:
            return setView(view_.rotation(), view_.elevation() + 5, view_.scale());
        case Qt::Key_Down:
            return setView(view_.rotation(), view_.elevation() - 5, view_.scale());
        case Qt::Key_PageUp:
            return setView(view_.rotation(), view_.elevation(), view_.scale() * 1.1);
        case Qt::Key_PageDown:
            return setView(view_.rotation(), view_.elevation(), view_.scale() / 1.1);
        default:
            TimingChart::keyPressEvent(event);
    }
}

}  // namespace qz
