#include "charts/chart_template.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cmath>

namespace qz {
namespace {

constexpr auto kFirstLine = "qz-chart-template 1";
constexpr double kLargestScale = 360;

bool setValue(ChartTemplate& chart, const QString& key, const QString& value) {
    auto colour = [&](QColor& target) {
        const QColor parsed = QColor::fromString(value);
        if (!parsed.isValid()) return false;
        target = parsed;
        return true;
    };
    // An advance scale beyond a full turn either way is no scale of degrees ("nan", "1e20").
    auto number = [&](double& target) {
        bool ok = false;
        const double parsed = value.toDouble(&ok);
        if (!ok || !std::isfinite(parsed) || std::abs(parsed) > kLargestScale) return false;
        target = parsed;
        return true;
    };
    if (key == "kind") {
        if (value == "2D")
            chart.kind = ChartKind::Line2D;
        else if (value == "3D")
            chart.kind = ChartKind::Surface3D;
        else
            return false;
        return true;
    }
    if (key == "title") return chart.title = value, true;
    if (key == "x-title") return chart.xTitle = value, true;
    if (key == "y-title") return chart.yTitle = value, true;
    if (key == "z-title") return chart.zTitle = value, true;
    if (key == "value-minimum") return number(chart.valueMinimum);
    if (key == "value-maximum") return number(chart.valueMaximum);
    if (key == "series1-colour") return colour(chart.series1);
    if (key == "series2-colour") return colour(chart.series2);
    if (key == "surface-low-colour") return colour(chart.surfaceLow);
    if (key == "surface-high-colour") return colour(chart.surfaceHigh);
    if (key == "label-background") return colour(chart.labelBackground);
    return false;
}

}  // namespace

std::optional<ChartTemplate> parseChartTemplate(const QString& text, ChartKind expected) {
    const QStringList lines = text.split(u'\n');
    if (lines.isEmpty() || lines.front().trimmed() != QLatin1String(kFirstLine))
        return std::nullopt;
    ChartTemplate chart;
    bool kindGiven = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(u'#')) continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0) return std::nullopt;
        const QString key = line.left(equals).trimmed();
        if (!setValue(chart, key, line.mid(equals + 1).trimmed())) return std::nullopt;
        kindGiven = kindGiven || key == "kind";
    }
    if (!kindGiven || chart.kind != expected || chart.valueMinimum >= chart.valueMaximum)
        return std::nullopt;
    return chart;
}

std::optional<ChartTemplate> loadChartTemplate(const QString& path, ChartKind expected) {
    if (!QFileInfo(path).isFile()) return std::nullopt;  // a pipe would keep us waiting
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    return parseChartTemplate(QString::fromUtf8(file.readAll()), expected);
}

}  // namespace qz
