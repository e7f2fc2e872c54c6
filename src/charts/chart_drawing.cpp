#include "charts/chart_drawing.h"

#include <QFontMetricsF>
#include <algorithm>

namespace qz {

QRectF chartPlotArea(const QRectF& rect) {
    const double top = std::max(28.0, rect.height() * 0.08);
    const double left = std::max(56.0, rect.width() * 0.06);
    const double bottom = std::max(44.0, rect.height() * 0.1);
    const double right = std::max(28.0, rect.width() * 0.03);
    return rect.adjusted(left, top, -right, -bottom);
}

void paintChartFrame(QPainter& painter, const QRectF& rect, const ChartTemplate& look) {
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, Qt::white);
    const QFont body = painter.font();
    QFont title = body;
    title.setBold(true);
    if (title.pixelSize() > 0)  // the printed page sets its chart font in pixels
        title.setPixelSize(title.pixelSize() * 6 / 5);
    else
        title.setPointSizeF(title.pointSizeF() * 1.2);
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(
        QRectF(rect.left(), rect.top() + 4, rect.width(), chartPlotArea(rect).top() - rect.top()),
        Qt::AlignHCenter | Qt::AlignTop, look.title);
    const double titleBottom = rect.top() + 4 + QFontMetricsF(title).height();
    painter.setFont(body);
    painter.setClipRect(QRectF(rect.left(), titleBottom, rect.width(), rect.bottom() - titleBottom),
                        Qt::IntersectClip);
}

void paintValueLabel(QPainter& painter, const QPointF& at, const ValueLabel& label,
                     const ChartTemplate& look) {
    if (!label.visible) return;
    const QFontMetricsF metrics(painter.font());
    const QSizeF size(metrics.horizontalAdvance(label.text) + 10, metrics.height() + 4);
    const QRectF box(at + QPointF(8, -size.height() - 8), size);
    painter.setPen(Qt::black);
    painter.setBrush(look.labelBackground);
    painter.drawLine(at, box.bottomLeft());
    painter.drawRect(box);
    painter.drawText(box, Qt::AlignCenter, label.text);
}

}  // namespace qz
