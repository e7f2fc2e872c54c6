// Replays a 200-step drag of one 2D point and of one 3D point through the real chart widgets
// (offscreen) at the main window's default chart size, each step a data write and a redraw;
// then 100 presses of + and - on the whole 21 x 8 3D grid selected, each a step of every
// cell, its undo step and a redraw of chart and grid.
// Run by hand:
//   QT_QPA_PLATFORM=offscreen build/bin/bench_drag
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <cstdio>
#include <functional>

#include "core/auto_prompts.h"
#include "core/program_state.h"
#include "table/table_editor.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace {

constexpr double kFrameMs = 1000.0 / 60;
constexpr int kSteps = 200;

void send(QWidget& chart, QEvent::Type type, QPointF at) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, chart.mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&chart, &event);
}

// Presses on the point, moves it up and down a step at a time, painting after each move.
void measure(const char* name, qz::TimingChart& chart, QPointF point,
             const std::function<double()>& value) {
    const double before = value();
    send(chart, QEvent::MouseButtonPress, point);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kSteps; ++i) {
        send(chart, QEvent::MouseMove, point + QPointF(0, (i % 40) - 20));
        chart.repaint();
    }
    const bool moved = value() != before;
    const double ms = clock.nsecsElapsed() / 1e6 / kSteps;
    send(chart, QEvent::MouseButtonRelease, point);
    if (!moved) std::fprintf(stderr, "%s: the point did not move; the figure is void\n", name);
    std::printf("%s drag: %.2f ms per step, %.1f %% of a 60 Hz frame\n", name, ms,
                100 * ms / kFrameMs);
}

// Presses + and - in turn on the grid with every data cell selected, painting after each.
void measureSteps(qz::TimingGrid& grid, qz::SurfaceChart& chart) {
    constexpr int kPresses = 100;
    grid.setCurrentCell(1, 1);
    grid.selectBlock({1, 1, 8, 21});
    const double before = chart.value(9, 4);
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kPresses; ++i) {
        QKeyEvent press(QEvent::KeyPress, i % 3 == 2 ? Qt::Key_Minus : Qt::Key_Plus,
                        Qt::NoModifier);
        QApplication::sendEvent(&grid, &press);
        chart.repaint();
        grid.viewport()->repaint();
    }
    const double ms = clock.nsecsElapsed() / 1e6 / kPresses;
    if (chart.value(9, 4) == before)
        std::fprintf(stderr, "3D steps: the cells did not move; the figure is void\n");
    std::printf("3D step of 21 x 8 cells: %.2f ms per press, %.1f %% of a 60 Hz frame\n", ms,
                100 * ms / kFrameMs);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    qz::ProgramState state;
    qz::AutoPrompts prompts(qz::PromptAnswer::Ignore);
    QWidget window;
    window.resize(1024, 700);
    qz::TableEditor editor(state, prompts, QCoreApplication::applicationDirPath(), &window, {});
    editor.setUpAtStartup(QStringLiteral("bench"));
    auto& chart2D = *window.findChild<qz::LineChart*>("Chart2D1");
    auto& chart3D = *window.findChild<qz::SurfaceChart*>("Chart3D1");
    state.TrigTiming = 30;
    for (int c = 1; c <= 21; ++c) {
        state.Table2D(c, 1) = 10 + c;
        state.Table2D(c, 2) = 30;
        for (int r = 1; r <= 8; ++r) state.Table3D(c, r) = 12 + c * 0.7 + r;
    }
    window.show();
    QApplication::processEvents();  // the window is exposed, so repaints really paint
    editor.showNewTable(qz::TableKind::Table2D);
    chart2D.setGeometry(0, 0, 1024, 480);
    measure("2D", chart2D, chart2D.pointPosition(1, 9, QRectF(chart2D.rect())),
            [&] { return chart2D.value(1, 9); });
    editor.hide(qz::TableKind::Table2D);
    editor.showNewTable(qz::TableKind::Table3D);
    chart3D.setGeometry(0, 0, 1024, 480);
    const qz::SurfaceProjection view = chart3D.projection(QRectF(chart3D.rect()));
    measure("3D", chart3D, view.project(9, 4, chart3D.value(9, 4)),
            [&] { return chart3D.value(9, 4); });
    auto& grid3D = *window.findChild<qz::TimingGrid*>("VSFlexGrid2");
    grid3D.setGeometry(0, 480, 1024, 220);
    measureSteps(grid3D, chart3D);
    return 0;
}
