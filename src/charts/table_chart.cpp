#include "charts/table_chart.h"

#include "charts/line_chart_drawing.h"
#include "charts/surface_chart_drawing.h"
#include "image/module_names.h"

namespace qz {

QString chartTemplateFile(TableKind kind, std::uint8_t mapSensorBar) {
    if (kind == TableKind::Table2D) return QStringLiteral("QZ_2D_Timing_Chart.oc2");
    return QStringLiteral("QZ_3D_%1Bar_Timing_Chart.oc3").arg(mapSensorBars(mapSensorBar));
}

ChartPicture workingTableChart(const ModuleData& data, const ChartTemplate& look) {
    switch (selectedTable(data)) {
        case TableKind::Table2D:
            return [chart = LineChartData{data.Table2D, look, {}}](QPainter& painter,
                                                                   const QRectF& rect) {
                paintLineChart(painter, rect, chart);
            };
        case TableKind::Table3D: {
            SurfaceChartData chart;
            chart.table = data.Table3D;
            chart.look = look;
            for (int y = 1; y <= kPressureRows; ++y)
                chart.pressureLabels[static_cast<std::size_t>(y - 1)] =
                    pressureLabel(data.MAPSensorBar, y);
            return [chart](QPainter& painter, const QRectF& rect) {
                paintSurfaceChart(painter, rect, chart);
            };
        }
        case TableKind::Disabled:
            break;
    }
    return {};
}

}  // namespace qz
