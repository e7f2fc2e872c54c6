// Paints each chart at the main window's default chart size into an image many times and
// prints the time per redraw against a 60 Hz frame. Run by hand:
//   build/bin/bench_render [--save FOLDER]
// With --save the last picture of each chart is written there as a PNG, to look at.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdio>

#include "charts/line_chart_drawing.h"
#include "charts/surface_chart_drawing.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kRedraws = 200;

void measure(const char* name, const qz::ChartPicture& chart, const QSize& size,
             const QString& save) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRedraws; ++i) {
        QPainter painter(&image);
        chart(painter, QRectF(QPointF(0, 0), size));
    }
    const double ms = clock.nsecsElapsed() / 1e6 / kRedraws;
    std::printf("%s: %.2f ms per redraw, %.1f %% of a 60 Hz frame\n", name, ms,
                100 * ms / kFrameMs);
    if (!save.isEmpty()) image.save(save + "/" + name + ".png");
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int saveAt = static_cast<int>(arguments.indexOf("--save"));
    const QString save = saveAt > 0 && saveAt + 1 < arguments.size() ? arguments[saveAt + 1] : "";
    const QString folder = QCoreApplication::applicationDirPath();
    // A realistic table: advance rising with speed and falling with load.
    qz::LineChartData chart2D;
    qz::SurfaceChartData chart3D;
    for (int c = 1; c <= 21; ++c) {
        const double rpm = (c - 1) * 500.0;
        chart2D.table(c, 1) = 10 + 20 * std::min(rpm, 4000.0) / 4000;
        chart2D.table(c, 2) = 30;
        for (int r = 1; r <= 8; ++r)
            chart3D.table(c, r) = 12 + 16 * std::min(rpm, 4500.0) / 4500 + 4 * (8 - r) / 7.0;
    }
    chart2D.look = qz::loadChartTemplate(folder + "/QZ_2D_Timing_Chart.oc2", qz::ChartKind::Line2D)
                       .value_or(chart2D.look);
    chart3D.look =
        qz::loadChartTemplate(folder + "/QZ_3D_1Bar_Timing_Chart.oc3", qz::ChartKind::Surface3D)
            .value_or(chart3D.look);
    chart3D.label = {true, 9, 4, "24.0"};
    // The chart area of the main window at its default size of 1024 x 720.
    const QSize size(1024, 480);
    measure(
        "2D chart", [&](QPainter& p, const QRectF& r) { qz::paintLineChart(p, r, chart2D); }, size,
        save);
    measure(
        "3D chart", [&](QPainter& p, const QRectF& r) { qz::paintSurfaceChart(p, r, chart3D); },
        size, save);
    return 0;
}
