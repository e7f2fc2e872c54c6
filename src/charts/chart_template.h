#pragma once

#include <QColor>
#include <QString>
#include <optional>

namespace qz {

enum class ChartKind { Line2D, Surface3D };

// What a chart template file sets: the chart's titles, axis titles and colours. The file is
// text: a first line "qz-chart-template 1", then "key = value" lines; "#" starts a comment.
struct ChartTemplate {
    ChartKind kind = ChartKind::Line2D;
    QString title;
    QString xTitle;
    QString yTitle;
    QString zTitle;  // the surface's vertical axis
    double valueMinimum = -15;
    double valueMaximum = 45;
    QColor series1 = QColor(200, 60, 30);
    QColor series2 = QColor(60, 90, 190);
    QColor surfaceLow = QColor(40, 80, 200);
    QColor surfaceHigh = QColor(220, 60, 30);
    QColor labelBackground = QColor(255, 255, 225);
};

// Parses a template's text; nullopt when it is not a template of the expected kind, a line
// cannot be read, or its value scale is not a finite range within -360 to 360 degrees.
std::optional<ChartTemplate> parseChartTemplate(const QString& text, ChartKind expected);

// Reads and parses a template file; nullopt when the file is missing, not a regular file,
// unreadable or bad.
std::optional<ChartTemplate> loadChartTemplate(const QString& path, ChartKind expected);

}  // namespace qz
