#include "report/report_painter.h"

#include <QFontMetricsF>

#include "core/twips.h"

namespace qz {
namespace {

double pixelsY(const QPaintDevice& device, int twips) {
    return twips * device.logicalDpiY() / kTwipsPerInch;
}

}  // namespace

QString reportFontFamily(const QStringList& families) {
    QString chosen = QStringLiteral("Courier New");
    for (const QString& family : families)
        if (family.compare(QLatin1String("Monospac821 BT"), Qt::CaseInsensitive) == 0)
            chosen = family;
    return chosen;
}

void paintReportDocument(QPainter& painter, const ReportDocument& document,
                         const QString& fontFamily, const ChartPicture& chart) {
    QPaintDevice& device = *painter.device();
    QFont font(fontFamily);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(8);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QFontMetricsF metrics(font, &device);
    const double column = metrics.horizontalAdvance(QLatin1Char('0'));
    for (const PrintBlock& block : document.blocks) {
        double y = pixelsY(device, block.topTwips);
        for (const PrintLine& line : block.lines) {
            // Each item at its character column; one written after another follows it.
            double x = 0;
            for (const PrintItem& item : line) {
                if (item.column > 0) x = std::max(x, (item.column - 1) * column);
                const QString text = QString::fromStdString(item.text);
                painter.drawText(QPointF(x, y + metrics.ascent()), text);
                x += metrics.horizontalAdvance(text);
            }
            y += metrics.height();
        }
    }
    if (document.chart && chart) {
        const QRectF area(0, pixelsY(device, 1000), device.width(),
                          device.height() - 2 * pixelsY(device, 1000));
        // The chart is drawn as on a screen of 96 dots per inch, scaled to the page, so its
        // text and margins keep their proportions at any printer resolution.
        const double scale = device.logicalDpiX() / 96.0;
        painter.save();
        painter.scale(scale, scale);
        QFont chartFont(QStringLiteral("Sans Serif"));
        chartFont.setPixelSize(12);
        painter.setFont(chartFont);
        chart(painter, QRectF(area.topLeft() / scale, area.size() / scale));
        painter.restore();
    }
}

bool paintReport(QPagedPaintDevice& device, const std::vector<ReportDocument>& documents,
                 const QString& fontFamily, const ChartPicture& chart, bool oneJobPerDocument) {
    QPainter painter;
    for (std::size_t i = 0; i < documents.size(); ++i) {
        if (i == 0 || oneJobPerDocument) {
            if (!painter.begin(&device)) return false;
        } else {
            device.newPage();
        }
        paintReportDocument(painter, documents[i], fontFamily, chart);
        if (oneJobPerDocument || i + 1 == documents.size()) painter.end();
    }
    return true;
}

}  // namespace qz
