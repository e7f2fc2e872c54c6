// Paints each chart at the main window's default chart size into an image many times and
// prints the time per redraw against a 60 Hz frame. Run by hand:
//   build/bin/bench_render [--save FOLDER]
// With --save the last picture of each chart is written there as a PNG, to look at.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <cmath>
#include <cstdio>

#include "image/table_layout.h"
#include "table/timing_charts.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kRedraws = 200;

// A realistic table: advance rising with speed and falling with load.
void fill(qz::LineChart& chart2D, qz::SurfaceChart& chart3D) {
    qz::Table2DCells table2D;
    qz::Table3DCells table3D;
    for (int c = 1; c <= 21; ++c) {
        const double rpm = (c - 1) * 500.0;
        table2D(c, 1) = 10 + 20 * std::min(rpm, 4000.0) / 4000;
        table2D(c, 2) = 30;
        for (int r = 1; r <= 8; ++r)
            table3D(c, r) = 12 + 16 * std::min(rpm, 4500.0) / 4500 + 4 * (8 - r) / 7.0;
    }
    chart2D.setTable(table2D);
    chart3D.setTable(table3D);
}

void measure(const char* name, qz::TimingChart& chart, const QSize& size, const QString& save) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRedraws; ++i) {
        QPainter painter(&image);
        chart.paint(painter, QRectF(QPointF(0, 0), size));
    }
    const double ms = clock.nsecsElapsed() / 1e6 / kRedraws;
    std::printf("%s: %.2f ms per redraw, %.1f %% of a 60 Hz frame\n", name, ms,
                100 * ms / kFrameMs);
    if (!save.isEmpty()) image.save(save + "/" + chart.objectName() + ".png");
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const int saveAt = static_cast<int>(arguments.indexOf("--save"));
    const QString save = saveAt > 0 && saveAt + 1 < arguments.size() ? arguments[saveAt + 1] : "";
    const QString folder = QCoreApplication::applicationDirPath();
    qz::LineChart chart2D("Chart2D1", nullptr);
    qz::SurfaceChart chart3D("Chart3D1", nullptr);
    chart2D.loadTemplate(folder + "/QZ_2D_Timing_Chart.oc2");
    chart3D.loadTemplate(folder + "/QZ_3D_1Bar_Timing_Chart.oc3");
    fill(chart2D, chart3D);
    chart3D.attachValueLabel(9, 4);
    chart3D.setValueLabelText("24.0");
    chart3D.setValueLabelVisible(true);
    // The chart area of the main window at its default size of 1024 x 720.
    const QSize size(1024, 480);
    measure("2D chart", chart2D, size, save);
    measure("3D chart", chart3D, size, save);
    return 0;
}
