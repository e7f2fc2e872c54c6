#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "core/rounding.h"
#include "image/cell_encoding.h"
#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "table/cell_text.h"

namespace qz {
namespace {

using test::EditorFixture;
using test::k2D;
using test::k3D;

// A mouse event on a chart, with the buttons held and the modifier keys.
void mouse(QWidget& chart, QEvent::Type type, QPointF at, Qt::MouseButton button,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, chart.mapToGlobal(at), button, held, modifiers);
    QApplication::sendEvent(&chart, &event);
}

void drag(QWidget& chart, QPointF from, std::initializer_list<QPointF> path,
          Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    mouse(chart, QEvent::MouseButtonPress, from, Qt::LeftButton, modifiers);
    for (const QPointF& at : path) mouse(chart, QEvent::MouseMove, at, Qt::NoButton, modifiers);
    mouse(chart, QEvent::MouseButtonRelease, path.size() ? *(std::end(path) - 1) : from,
          Qt::LeftButton, modifiers);
}

struct Opened : EditorFixture {
    explicit Opened(std::uint8_t flags) : EditorFixture(flags) {
        window->mnuEditTimingTable->trigger();
    }
    TableViews& views() { return window->views(); }
};

TEST(ChartDragging, A2DPointFollowsThePointerOnTheGridWithinItsLimits) {
    for (const int trigger : {30, 10}) {
        Opened f(k2D);
        f.state.TrigTiming = static_cast<std::int16_t>(trigger);
        LineChart& chart = f.views().chart2D();
        chart.setValue(1, 5, trigger == 30 ? 20 : 5);
        const QPointF at = chart.pointPosition(1, 5, QRectF(chart.rect()));
        mouse(chart, QEvent::MouseButtonPress, at, Qt::LeftButton);
        EXPECT_EQ(f.views().grid2D().currentColumn(), 5) << "the grid follows the picked point";
        EXPECT_TRUE(chart.valueLabelVisible());
        struct Move {
            double dy;
            double value;
        };
        const std::vector<Move> moves =
            trigger == 30 ? std::vector<Move>{{-10, 21}, {1, 20}, {-2000, 30}, {2000, 8}}
                          : std::vector<Move>{{-10, 6}, {2000, 0}};
        for (const Move& m : moves) {
            mouse(chart, QEvent::MouseMove, at + QPointF(0, m.dy), Qt::NoButton);
            EXPECT_DOUBLE_EQ(chart.value(1, 5), m.value) << trigger << " " << m.dy;
            EXPECT_EQ(chart.valueLabelText(), cellNumber(m.value, "#0.0"));
        }
        const QString before = f.views().grid2D().cellText(1, 5);
        EXPECT_EQ(before, f.views().grid2D().cellText(1, 5)) << "the grid waits for the release";
        mouse(chart, QEvent::MouseButtonRelease, at, Qt::LeftButton);
        EXPECT_EQ(f.views().grid2D().cellText(1, 5), trigger == 30 ? "8.0" : "0.0");
        EXPECT_FALSE(chart.valueLabelVisible());
    }
}

TEST(ChartDragging, APressAwayFromTheCurvePicksNothing) {
    Opened f(k2D);
    LineChart& chart = f.views().chart2D();
    chart.setValue(1, 5, 20);
    const QPointF point = chart.pointPosition(1, 5, QRectF(chart.rect()));
    for (const QPointF& press :
         {point + QPointF(15, 0), chart.pointPosition(2, 5, QRectF(chart.rect()))}) {
        drag(chart, press, {press + QPointF(0, -50)});
        EXPECT_EQ(chart.value(1, 5), 20);
        EXPECT_EQ(chart.value(2, 5), 30) << "the trigger timing line cannot be dragged";
    }
    // A double-click: the release after it does nothing, nor do presses and moves before.
    mouse(chart, QEvent::MouseButtonDblClick, point, Qt::LeftButton);
    drag(chart, point, {point + QPointF(0, -50)});
    EXPECT_EQ(chart.value(1, 5), 20);
    drag(chart, point, {point + QPointF(0, -10)});
    EXPECT_EQ(chart.value(1, 5), 21) << "the rule lasts until one release";
}

TEST(ChartDragging, A3DPointAndTheWholeTableOffset) {
    for (const int trigger : {30, 10}) {
        Opened f(k3D);
        f.state.TrigTiming = static_cast<std::int16_t>(trigger);
        SurfaceChart& chart = f.views().chart3D();
        const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
        const double start = chart.value(9, 4);
        // The pointer goes to a whole pixel: the value is what the surface has through it.
        const QPoint to = view.project(9, 4, trigger == 30 ? 24.4 : -20).toPoint();
        drag(chart, view.project(9, 4, start), {to});
        const double expected =
            trigger == 30 ? roundHalfEven(view.valueThrough(9, 4, to) * 5) * 0.2 : -12;
        EXPECT_NEAR(expected, trigger == 30 ? 24.4 : -12, 0.21);
        EXPECT_DOUBLE_EQ(chart.value(9, 4), expected);
        EXPECT_EQ(f.views().grid3D().cellText(5, 9), cellNumber(expected, "#0.0"));
    }
    Opened f(k3D);
    SurfaceChart& chart = f.views().chart3D();
    const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
    const Table3DCells before = chart.table();
    const QPointF at = view.project(12, 6, before(12, 6));
    mouse(chart, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(chart.valueLabelText(), "0.0");
    mouse(chart, QEvent::MouseMove, view.project(12, 6, before(12, 6) + 20), Qt::NoButton,
          Qt::ShiftModifier);
    EXPECT_EQ(chart.valueLabelText(), "5.0") << "an offset of 8 held at 5";
    EXPECT_EQ(chart.table(), before) << "nothing moves before the release";
    mouse(chart, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::ShiftModifier);
    for (int x = 1; x <= 21; ++x)
        for (int y = 1; y <= 8; ++y) {
            const double expected = std::clamp(before(x, y) + 5, 8.0, 30.0);
            ASSERT_DOUBLE_EQ(chart.value(x, y), expected);
            ASSERT_DOUBLE_EQ(f.state.Table3D(x, y), expected) << "written into Table3D";
            ASSERT_EQ(f.views().grid3D().cellText(9 - y, x), cellNumber(expected, "#0.0"));
        }
    f.window->mnuSaveTbl->trigger();
    EXPECT_EQ(f.state.EEPROMBuffer[112], encodeCell(30, std::clamp(before(1, 8) + 5, 8.0, 30.0)));
}

TEST(BlockEditing, CopyAndPasteFollowTheLastCopysSpans) {
    Opened f(k3D);
    TimingGrid& grid = f.views().grid3D();
    grid.selectBlock({2, 5, 3, 7});
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);  // Copy by key
    EXPECT_EQ(f.state.ClipRowSpan, 1);
    EXPECT_EQ(f.state.ClipColSpan, 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), f.state.ClipText);
    EXPECT_TRUE(f.window->mnuPopUpPaste3D->isEnabled());
    const QString copied = grid.blockText({2, 5, 3, 7});
    grid.setCurrentCell(4, 10);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.blockText({4, 10, 5, 12}), copied);
    EXPECT_EQ(grid.selection(), (CellBlock{4, 10, 5, 12}));
    for (int r = 4; r <= 5; ++r)
        for (int c = 10; c <= 12; ++c)
            EXPECT_DOUBLE_EQ(f.views().chart3D().value(c, 9 - r), grid.cellValue(r, c));
    // Cut at the grid's edge, without a word.
    grid.setCurrentCell(8, 20);
    f.views().Paste(true);
    EXPECT_EQ(grid.blockText({8, 20, 8, 21}), copied.split('\r')[0].section('\t', 0, 1));

    // Text from another program, with CR LF line ends, into a 2D selection.
    Opened g(k2D);
    QGuiApplication::clipboard()->setText("12.5\t13\tabc\r\n");
    TimingGrid& row = g.views().grid2D();
    row.selectBlock({1, 1, 1, 3});
    g.views().Paste(false);
    EXPECT_EQ(g.views().chart2D().value(1, 1), 12.5);
    EXPECT_EQ(g.views().chart2D().value(1, 2), 13);
    EXPECT_EQ(g.views().chart2D().value(1, 3), 0) << "a cell without a number gives 0";
    EXPECT_EQ(row.cellText(1, 3), "abc") << "the grid keeps the pasted text";
}

TEST(BlockEditing, ModifyChangesEverySelectedCellAndCancelNone) {
    Opened f(k3D);
    TimingGrid& grid = f.views().grid3D();
    const struct {
        std::optional<std::string> entry;
        double expected;  // from 30 in every cell
    } cases[] = {{"80%", 24}, {std::nullopt, 24}, {"+10", 34}, {"+20", 45}, {"", 0}};
    for (int r = 2; r <= 3; ++r)
        for (int c = 4; c <= 5; ++c) EXPECT_TRUE(test::typeIntoCell(grid, r, c, "30"));
    for (const auto& c : cases) {
        grid.selectBlock({2, 4, 3, 5});
        f.prompts.answerInput(c.entry);
        f.window->mnuPopUpModify3D->trigger();
        EXPECT_EQ(f.prompts.shown().back().title, "Modify Selection");
        for (int r = 2; r <= 3; ++r)
            for (int col = 4; col <= 5; ++col) {
                EXPECT_DOUBLE_EQ(f.views().chart3D().value(col, 9 - r), c.expected);
                EXPECT_EQ(grid.cellText(r, col), cellNumber(c.expected, "#0.0"));
            }
    }
    EXPECT_EQ(grid.cellText(1, 4), cellNumber(f.views().chart3D().value(4, 8), "#0.0"))
        << "cells outside the selection are left";
}

// Ctrl+I fills a row's inner cells in a straight line between its ends.
TEST(BlockEditing, InterpolationFillsBetweenTheEdges) {
    Opened f(k2D);
    TimingGrid& grid = f.views().grid2D();
    EXPECT_TRUE(test::typeIntoCell(grid, 1, 2, "10"));
    EXPECT_TRUE(test::typeIntoCell(grid, 1, 6, "30"));
    grid.selectBlock({1, 2, 1, 6});
    QTest::keyClick(&grid, Qt::Key_I, Qt::ControlModifier);
    for (int c = 2; c <= 6; ++c)
        EXPECT_DOUBLE_EQ(f.views().chart2D().value(1, c), 10 + 5 * (c - 2));
    EXPECT_EQ(grid.cellText(1, 4), "20.0");
}

// Every edit is one step back; redo goes forward again; a save writes what is on show.
TEST(Undo, EveryEditIsOneStepAndASaveAfterUndoWritesTheUndoneValues) {
    Opened f(k3D);
    TableViews& views = f.views();
    std::vector<TableViews::Snapshot> states{views.snapshot()};
    TimingGrid& grid = views.grid3D();
    EXPECT_TRUE(test::typeIntoCell(grid, 2, 2, "12"));
    states.push_back(views.snapshot());
    grid.selectBlock({3, 3, 4, 6});
    f.prompts.answerInput("+1");
    views.Modify(true);
    states.push_back(views.snapshot());
    SurfaceChart& chart = views.chart3D();
    const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
    drag(chart, view.project(15, 2, chart.value(15, 2)), {view.project(15, 2, 14)});
    states.push_back(views.snapshot());
    const QPointF at = view.project(5, 5, chart.value(5, 5));
    drag(chart, at, {view.project(5, 5, chart.value(5, 5) - 5)}, Qt::ShiftModifier);
    states.push_back(views.snapshot());
    ASSERT_EQ(views.undoStack().count(), 4);
    for (int step = 3; step >= 0; --step) {
        QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(views.snapshot(), states[static_cast<std::size_t>(step)]) << step;
    }
    for (int step = 1; step <= 2; ++step) {
        QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(views.snapshot(), states[static_cast<std::size_t>(step)]) << step;
    }
    f.window->mnuSaveTbl->trigger();
    EXPECT_EQ(views.undoStack().count(), 0) << "cleared by the save";
    EXPECT_EQ(f.state.EEPROMBuffer[112 + 21 + 1], encodeCell(30, 12)) << "grid row 2, column 2";
    EXPECT_EQ(f.state.Table3D, states[2].chart3D);
}

}  // namespace
}  // namespace qz
