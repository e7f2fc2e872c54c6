#pragma once

#include <QApplication>
#include <QMouseEvent>

#include "qz1/qz1_harness.h"
#include "support/main_window_fixture.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz::test {

// Each with a fixed RPM limit, which the module parameters dialog keeps as it is.
inline constexpr std::uint8_t k2D = 0x40 | 0x20 | 0x1C;
inline constexpr std::uint8_t k3D = 0x80 | 0x20 | 0x1C;

// A data file of a tune with the trigger timing at 30 and the given table selected, every
// byte within its clamps, so that it is saved again byte for byte.
inline QByteArray tuneFile(std::uint8_t flags, std::uint8_t sensor = 0) {
    EepromBytes image{};
    image[48] = 30;
    image[49] = 4;
    image[50] = flags;
    image[51] = 65;
    image[75] = 10;
    image[55] = sensor;
    for (int a = 16; a <= 36; ++a) image[a] = static_cast<std::uint8_t>(3 * (a - 16));
    for (int a = 112; a <= 279; ++a) image[a] = static_cast<std::uint8_t>(a % 90);
    return qz1::test::fileBytes(image);
}

// A mouse event on a chart, with the left button held until the release.
inline void mouse(QWidget& chart, QEvent::Type type, QPointF at,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, chart.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&chart, &event);
}

inline void drag(QWidget& chart, QPointF from, std::initializer_list<QPointF> path,
                 Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(chart, QEvent::MouseButtonPress, from, modifiers);
    for (const QPointF& at : path) mouse(chart, QEvent::MouseMove, at, modifiers);
    mouse(chart, QEvent::MouseButtonRelease, path.size() ? *(std::end(path) - 1) : from, modifiers);
}

// The main window with a data file opened (none for flags 0), its module parameters dialog
// closed unchanged.
struct EditorFixture : MainWindowFixture {
    explicit EditorFixture(std::uint8_t flags, std::uint8_t sensor = 0) {
        window->show();
        if (flags == 0) return;
        path = folder.write("tune.dat", tuneFile(flags, sensor));
        prompts.answerFile(path);
        prompts.answer(PromptAnswer::OK);
        window->mnuOpenFile->trigger();
        opened = state.EEPROMBuffer;
    }
    std::string path;
    EepromBytes opened;

    bool is3D() const { return state.Table3DEnabled; }
    TimingGrid& grid() const {
        return MainWindowFixture::grid(is3D() ? TableKind::Table3D : TableKind::Table2D);
    }
    TimingChart& chart() const { return is3D() ? static_cast<TimingChart&>(chart3D()) : chart2D(); }
    // The chart's value behind grid cell (row, column) of the open kind.
    double chartValue(int row, int column) const {
        return is3D() ? chart3D().value(column, 9 - row) : chart2D().value(1, column);
    }
    // Where the point behind grid cell (row, column) is drawn.
    QPointF pointAt(int row, int column) const {
        if (!is3D()) return chart2D().pointPosition(1, column, QRectF(chart2D().rect()));
        const SurfaceChart& c = chart3D();
        return c.projection(QRectF(c.rect())).project(column, 9 - row, c.value(column, 9 - row));
    }
};

// The same with the tune's table open for editing.
struct OpenTableFixture : EditorFixture {
    explicit OpenTableFixture(std::uint8_t flags, std::uint8_t sensor = 0)
        : EditorFixture(flags, sensor) {
        window->mnuEditTimingTable->trigger();
    }
};

}  // namespace qz::test
