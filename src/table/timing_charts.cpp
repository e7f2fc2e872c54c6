#include "table/timing_charts.h"

namespace qz {

TimingChart::TimingChart(const QString& name, ChartKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    setObjectName(name);
}

bool TimingChart::loadTemplate(const QString& path) {
    auto loaded = loadChartTemplate(path, kind_);
    if (!loaded) return false;
    template_ = std::move(loaded);
    redraw();
    return true;
}

void TimingChart::setValueLabelVisible(bool visible) {
    valueLabelVisible_ = visible;
    redraw();
}

void TimingChart::resumeRedraw() {
    suspended_ = false;
    redraw();
}

void TimingChart::redraw() {
    if (!suspended_) update();
}

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

SurfaceChart::SurfaceChart(const QString& name, QWidget* parent)
    : TimingChart(name, ChartKind::Surface3D, parent) {}

void SurfaceChart::setTable(const Table3DCells& table) {
    data_ = table;
    redraw();
}

void SurfaceChart::setValue(int x, int y, double value) {
    data_(x, y) = value;
    redraw();
}

}  // namespace qz
