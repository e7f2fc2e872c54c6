#include <QMouseEvent>
#include <QPaintEvent>

#include "table/advance_colours.h"
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

const ChartTemplate& TimingChart::look() const {
    return template_ ? *template_ : builtIn_;
}

QColor TimingChart::advanceColour(double advance) const {
    const ChartTemplate& t = look();
    return qz::advanceColour(advance, t.valueMinimum, t.valueMaximum, t.surfaceLow, t.surfaceHigh);
}

void TimingChart::setValueLabelVisible(bool visible) {
    valueLabelVisible_ = visible;
    redraw();
}

void TimingChart::attachValueLabel(int first, int second) {
    labelFirst_ = first;
    labelSecond_ = second;
    redraw();
}

void TimingChart::setValueLabelText(const QString& text) {
    valueLabelText_ = text;
    redraw();
}

void TimingChart::resumeRedraw() {
    suspended_ = false;
    redraw();
}

void TimingChart::redraw() {
    if (!suspended_) update();
}

// Room above for the title, at the left for the value axis, below for the RPM axis.
QRectF TimingChart::plotArea(const QRectF& rect) {
    const double top = std::max(28.0, rect.height() * 0.08);
    const double left = std::max(56.0, rect.width() * 0.06);
    const double bottom = std::max(44.0, rect.height() * 0.1);
    const double right = std::max(28.0, rect.width() * 0.03);
    return rect.adjusted(left, top, -right, -bottom);
}

void TimingChart::paint(QPainter& painter, const QRectF& rect) const {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    QFont titleFont = painter.font();
    titleFont.setBold(true);
    if (titleFont.pixelSize() > 0)  // the printed page sets its chart font in pixels
        titleFont.setPixelSize(titleFont.pixelSize() * 6 / 5);
    else
        titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    painter.setFont(titleFont);
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(rect.left(), rect.top() + 4, rect.width(), plotArea(rect).top() - rect.top()),
        Qt::AlignHCenter | Qt::AlignTop, look().title);
    const double titleBottom = rect.top() + 4 + QFontMetricsF(titleFont).height();
    painter.restore();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // However far the view is zoomed, nothing is drawn over the title or outside the chart.
    painter.setClipRect(QRectF(rect.left(), titleBottom, rect.width(), rect.bottom() - titleBottom),
                        Qt::IntersectClip);
    paintData(painter, plotArea(rect));
    painter.restore();
}

// A small box with the label's text, just above and right of the point it is attached to.
void TimingChart::paintValueLabel(QPainter& painter, const QPointF& at) const {
    if (!valueLabelVisible_) return;
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(valueLabelText_) + 10, metrics.height() + 4);
    const QRectF box(at + QPointF(8, -size.height() - 8), size);
    painter.setPen(Qt::black);
    painter.setBrush(look().labelBackground);
    painter.drawLine(at, box.bottomLeft());
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, valueLabelText_);
}

void TimingChart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paint(painter, rect());
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
