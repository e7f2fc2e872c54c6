#include <QMouseEvent>

#include "charts/advance_colours.h"
#include "table/timing_charts.h"

namespace qz {

TimingChart::TimingChart(const QString& name, ChartKind kind, QWidget* parent)
    : QWidget(parent), kind_(kind) {
    setObjectName(name);
    builtIn_.kind = kind;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool TimingChart::loadTemplate(const QString& path) {
    auto loaded = loadChartTemplate(path, kind_);
    if (!loaded) return false;
    template_ = std::move(loaded);
    redraw();
    return true;
}

QColor TimingChart::advanceColour(double advance) const {
    const ChartTemplate& t = look();
    return qz::advanceColour(advance, t.valueMinimum, t.valueMaximum, t.surfaceLow, t.surfaceHigh);
}

void TimingChart::setValueLabelVisible(bool visible) {
    label_.visible = visible;
    redraw();
}

void TimingChart::attachValueLabel(int first, int second) {
    label_.first = first;
    label_.second = second;
    redraw();
}

void TimingChart::setValueLabelText(const QString& text) {
    label_.text = text;
    redraw();
}

void TimingChart::resumeRedraw() {
    suspended_ = false;
    redraw();
}

void TimingChart::redraw() {
    if (!suspended_) update();
}

void TimingChart::mousePressEvent(QMouseEvent* event) {
    emit mousePressed(event->button(), event->modifiers(), event->position());
}

void TimingChart::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved(event->buttons(), event->modifiers(), event->position());
}

void TimingChart::mouseReleaseEvent(QMouseEvent* event) {
    emit mouseReleased(event->button(), event->modifiers(), event->position());
}

void TimingChart::mouseDoubleClickEvent(QMouseEvent*) {
    emit doubleClicked();
}

}  // namespace qz
