#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "image/table_layout.h"
#include "table/timing_charts.h"

namespace qz {

SurfaceChart::SurfaceChart(const QString& name, QWidget* parent)
    : TimingChart(name, ChartKind::Surface3D, parent) {
    setFocusPolicy(Qt::StrongFocus);
}

void SurfaceChart::setTable(const Table3DCells& table) {
    table_ = table;
    redraw();
}

void SurfaceChart::setValue(int x, int y, double value) {
    table_(x, y) = value;
    redraw();
}

void SurfaceChart::setSelection(const SurfaceSelection& selection) {
    if (selection == selection_) return;
    selection_ = selection;
    redraw();
}

void SurfaceChart::setPressureLabels(const std::array<int, 8>& labels) {
    pressureLabels_ = labels;
    redraw();
}

// Kept within what the projection allows: any rotation, a tilt of 5 to 85 degrees, a scale
// of 0.4 to 2.5.
void SurfaceChart::setView(double rotation, double elevation, double scale) {
    SurfaceProjection limits(QRectF(0, 0, 1, 1), 0, 1);
    limits.setView(rotation, elevation, scale);
    rotation_ = limits.rotation();
    elevation_ = limits.elevation();
    scale_ = limits.scale();
    redraw();
}

SurfaceProjection SurfaceChart::projection(const QRectF& rect) const {
    return surfaceProjection(data(), rect);
}

SurfaceChartData SurfaceChart::data() const {
    return {table_, look(), pressureLabels_, rotation_, elevation_, scale_, label(), selection_};
}

void SurfaceChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintSurfaceChart(painter, rect(), data());
}

ChartPicture SurfaceChart::picture() const {
    SurfaceChartData shown = data();
    shown.label.visible = false;
    shown.selection = {};
    return
        [shown](QPainter& painter, const QRectF& rect) { paintSurfaceChart(painter, rect, shown); };
}

double SurfaceChart::cellValue(int row, int column) const {
    return value(column, kPressureRows + 1 - row);
}

void SurfaceChart::setCellValue(int row, int column, double value) {
    setValue(column, kPressureRows + 1 - row, value);
}

int SurfaceChart::gridRows() const {
    return kPressureRows;
}

std::pair<int, int> SurfaceChart::labelPointOf(int row, int column) const {
    return {column, kPressureRows + 1 - row};
}

ChartPick SurfaceChart::pick(const QPointF& pixel) const {
    const SurfaceProjection view = projection(rect());
    ChartPick best{chartPlotArea(rect()).contains(pixel), 0, 0, 0};
    for (int x = 1; x <= kRpmBreakpoints; ++x)
        for (int y = 1; y <= kPressureRows; ++y) {
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
        setView(rotation_ - moved.x() * 0.5, elevation_ + moved.y() * 0.3, scale_);
    }
    TimingChart::mouseMoveEvent(event);
}

void SurfaceChart::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) turning_.reset();
    TimingChart::mouseReleaseEvent(event);
}

void SurfaceChart::wheelEvent(QWheelEvent* event) {
    setView(rotation_, elevation_, scale_ * std::pow(1.1, event->angleDelta().y() / 120.0));
}

void SurfaceChart::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Home:  // the view the chart opens with
            return setView(SurfaceProjection::kDefaultRotation,
                           SurfaceProjection::kDefaultElevation, 1);
        case Qt::Key_Left:
            return setView(rotation_ + 5, elevation_, scale_);
        case Qt::Key_Right:
            return setView(rotation_ - 5, elevation_, scale_);
        case Qt::Key_Up:
            return setView(rotation_, elevation_ + 5, scale_);
        case Qt::Key_Down:
            return setView(rotation_, elevation_ - 5, scale_);
        case Qt::Key_PageUp:
            return setView(rotation_, elevation_, scale_ * 1.1);
        case Qt::Key_PageDown:
            return setView(rotation_, elevation_, scale_ / 1.1);
        default:
            TimingChart::keyPressEvent(event);
    }
}

}  // namespace qz
