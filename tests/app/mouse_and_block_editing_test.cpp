#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <cmath>

#include "core/leading_number.h"
#include "core/rounding.h"
#include "image/cell_encoding.h"
#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "table/block_edits.h"
#include "table/cell_text.h"

namespace qz {
namespace {

using test::drag;
using test::k2D;
using test::k3D;
using test::mouse;
using Opened = test::OpenTableFixture;

// At a trigger timing of 10 the point stays between 0 and 10, as the chart follows the pointer.
TEST(ChartDragging, A2DPointFollowsThePointerOnTheGridWithinItsLimits) {
    Opened f(k2D);
    f.state.TrigTiming = 10;
    LineChart& chart = f.chart2D();
    chart.setValue(1, 5, 5);
    const QPointF at = f.pointAt(1, 5);
    const QString before = f.grid().cellText(1, 5);
    mouse(chart, QEvent::MouseButtonPress, at);
    EXPECT_EQ(
        std::tuple(f.grid().currentColumn(), chart.valueLabelVisible(), chart.valueLabelPoint()),
        std::tuple(5, true, std::pair(1, 5)))
        << "the grid follows the picked point";
    // The pointer moved by dy, and the value it leaves the point at.
    for (const auto& [dy, value] : {std::pair{-10.0, 6.0}, {-2000.0, 10.0}, {2000.0, 0.0}}) {
        mouse(chart, QEvent::MouseMove, at + QPointF(0, dy));
        EXPECT_DOUBLE_EQ(chart.value(1, 5), value) << dy;
        EXPECT_EQ(chart.valueLabelText(), cellNumber(value, "#0.0"));
    }
    mouse(chart, QEvent::MouseMove, at + QPointF(0, -50), Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(chart.value(1, 5), 0) << "a move with a key held";
    EXPECT_EQ(f.grid().cellText(1, 5), before) << "the grid waits for the release";
}

// A pick needs a point nearer than 15 pixels, on the advance curve.
TEST(ChartDragging, APressPicksAPointOfTheCurveNearerThan15Pixels) {
    // Where the press is from the point, and whether it picks it.
    const std::pair<QPointF, bool> cases[] = {
        {{14.9, 0}, true}, {{15, 0}, false}, {{0, -14.9}, true}};
    for (const auto& [offset, picked] : cases) {
        Opened f(k2D);
        LineChart& chart = f.chart2D();
        chart.setValue(1, 5, 20);
        chart.setValue(1, 6, 10);  // the neighbours out of reach
        chart.setValue(1, 4, 10);
        const QPointF point = f.pointAt(1, 5);
        drag(chart, point + offset, {point + offset + QPointF(0, -10)});
        EXPECT_EQ(chart.value(1, 5), picked ? 21 : 20) << offset.x() << " " << offset.y();
    }
    Opened f(k2D);
    LineChart& chart = f.chart2D();
    chart.setValue(1, 5, 20);
    const QPointF point = f.pointAt(1, 5);
    drag(chart, chart.pointPosition(2, 5, QRectF(chart.rect())), {point + QPointF(0, -50)});
    EXPECT_EQ(chart.value(2, 5), 30) << "the trigger timing line cannot be dragged";
    // A double-click: the release after it does nothing, nor do presses and moves before.
    mouse(chart, QEvent::MouseButtonDblClick, point);
    drag(chart, point, {point + QPointF(0, -50)});
    EXPECT_EQ(chart.value(1, 5), 20);
    drag(chart, point, {point + QPointF(0, -10)});
    EXPECT_EQ(chart.value(1, 5), 21) << "the rule lasts until one release";
}

// The pointer goes to a whole pixel: the value is what the surface has through it, on the
// 0.2 degree step, within -12 and the trigger timing of 10.
TEST(ChartDragging, A3DPointAndTheWholeTableOffset) {
    {
        Opened f(k3D);
        f.state.TrigTiming = 10;
        SurfaceChart& chart = f.chart3D();
        const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
        const QPoint to = view.project(9, 4, -11).toPoint();
        mouse(chart, QEvent::MouseButtonPress, f.pointAt(5, 9));
        EXPECT_EQ(
            std::tuple(f.grid().currentRow(), f.grid().currentColumn(), chart.valueLabelPoint()),
            std::tuple(5, 9, std::pair(9, 4)));
        mouse(chart, QEvent::MouseMove, to);
        const double expected = roundHalfEven(view.valueThrough(9, 4, to) * 5) * 0.2;
        EXPECT_DOUBLE_EQ(chart.value(9, 4), expected);
        EXPECT_EQ(chart.valueLabelText(), cellNumber(expected, "#0.0"));
    }
    Opened f(k3D);
    SurfaceChart& chart = f.chart3D();
    const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
    const Table3DCells before = chart.table();
    const QPointF at = f.pointAt(3, 12);
    f.grid().setCurrentCell(2, 2);
    mouse(chart, QEvent::MouseButtonPress, at, Qt::ShiftModifier);
    EXPECT_EQ(chart.valueLabelText(), "0.0");
    EXPECT_EQ(std::pair(f.grid().currentRow(), f.grid().currentColumn()), std::pair(0, 0))
        << "a Shift press makes the header corner current";
    mouse(chart, QEvent::MouseMove, view.project(12, 6, before(12, 6) + 20), Qt::ShiftModifier);
    EXPECT_EQ(chart.valueLabelText(), "5.0") << "an offset of 8 held at 5";
    EXPECT_EQ(chart.table(), before) << "nothing moves before the release";
    mouse(chart, QEvent::MouseButtonRelease, at, Qt::ShiftModifier);
    Table3DCells expected;
    for (int x = 1; x <= 21; ++x)
        for (int y = 1; y <= 8; ++y) {
            expected(x, y) = std::clamp(before(x, y) + 5, 8.0, 30.0);
            ASSERT_EQ(f.grid().cellText(9 - y, x), cellNumber(expected(x, y), "#0.0"));
        }
    EXPECT_EQ(std::pair(chart.table(), f.state.Table3D), std::pair(expected, expected));
}

// A release ends a drag whatever keys are held then: the dragged point's own cell shows the
// value the chart (and so the save) holds, the label goes, and the drag is one undo step. No
// edit writes a header cell.
TEST(ChartDragging, AReleaseWritesTheDraggedPointsOwnCellWhateverKeysAreHeld) {
    // The table, and the keys held at the press and at the release.
    const std::tuple<std::uint8_t, Qt::KeyboardModifiers, Qt::KeyboardModifiers> cases[] = {
        {k2D, Qt::NoModifier, Qt::ShiftModifier},
        {k2D, Qt::NoModifier, Qt::ControlModifier},
        {k3D, Qt::ShiftModifier, Qt::NoModifier},
        {k3D, Qt::NoModifier, Qt::ControlModifier}};
    for (const auto& [kind, press, release] : cases) {
        Opened f(kind);
        const int row = f.is3D() ? 3 : 1;
        const double before = f.chartValue(row, 12);
        const QPointF at = f.pointAt(row, 12);
        mouse(f.chart(), QEvent::MouseButtonPress, at, press);
        mouse(f.chart(), QEvent::MouseMove, at + QPointF(0, -20));  // Shift already let go
        mouse(f.chart(), QEvent::MouseButtonRelease, at + QPointF(0, -20), release);
        EXPECT_NE(f.chartValue(row, 12), before) << "the point moved";
        EXPECT_EQ(f.grid().cellText(row, 12), cellNumber(f.chartValue(row, 12), "#0.0"));
        EXPECT_EQ(f.grid().cellText(0, 0), f.is3D() ? "MAP/RPM" : "RPM");
        EXPECT_FALSE(f.chart().valueLabelVisible());
        EXPECT_EQ(std::pair(f.editor().undoStack().count(), f.editor().undoStack().text(0)),
                  std::pair(1, QString("Drag")));
        EXPECT_TRUE(!f.is3D() || f.state.Table3D(12, 6) == before) << "the working table waits";
    }
}

// A typed, unconfirmed cell is confirmed before the current cell moves away from it (by a
// press on the chart, on its own point or another's, or by the program); a refused one keeps
// its editor, its message and the current cell. The advance is checked against the trigger
// timing of the moment.
TEST(GridEditing, AnOpenEditorIsConfirmedBeforeTheCurrentCellMoves) {
    // The table, the text typed, the point pressed (0: the program moves to column 5), and
    // the trigger timing.
    const std::tuple<std::uint8_t, const char*, int, int> cases[] = {
        {k2D, "12", 5, 30},   {k3D, "12", 5, 30}, {k2D, "99", 5, 30}, {k3D, "99", 5, 30},
        {k2D, "12", 0, 30},   {k3D, "99", 0, 30}, {k2D, "12", 1, 30}, {k3D, "12", 1, 30},
        {k3D, "10.1", 0, 10}, {k2D, "0", 0, 10},  {k3D, "-12", 0, 10}};
    for (const auto& [kind, typed, pressedColumn, trigger] : cases) {
        Opened f(kind);
        f.state.TrigTiming = static_cast<std::int16_t>(trigger);
        TimingGrid& grid = f.grid();
        const double before = f.chartValue(1, 1), other = f.chartValue(1, 5);
        const QString cellText = grid.cellText(1, 1);
        grid.setCurrentCell(1, 1);
        grid.editItem(grid.item(1, 1));
        QLineEdit* editor = test::openEditor(grid);
        ASSERT_TRUE(editor);
        QTest::keyClicks(editor, typed);
        const bool refused = std::stod(typed) > trigger;
        if (refused) f.answer({PromptAnswer::OK});
        if (pressedColumn)
            mouse(f.chart(), QEvent::MouseButtonPress, f.pointAt(1, pressedColumn));
        else
            grid.setCurrentCell(1, 5);
        SCOPED_TRACE(std::to_string(kind) + typed + std::to_string(pressedColumn));
        if (refused) {
            const test::ShownPrompt& shown = f.prompts.shown().back();
            EXPECT_EQ(std::tuple(shown.text, shown.title, shown.icon),
                      std::tuple(*typedAdvanceRefusal(typed, trigger, f.is3D()),
                                 std::string("Timing Edit"), PromptIcon::Critical));
        }
        QLineEdit* open = test::openEditor(grid);
        EXPECT_EQ(std::tuple(open ? open->text() : "", grid.cellText(1, 1), grid.currentColumn(),
                             f.chartValue(1, 1), f.chartValue(1, 5),
                             f.window->editor().undoStack().count()),
                  refused ? std::tuple(QString(typed), cellText, 1, before, other, 0)
                          : std::tuple(QString(), QString(typed), pressedColumn == 1 ? 1 : 5,
                                       std::stod(typed), other, 1));
    }
}

TEST(BlockEditing, CopyAndPasteFollowTheLastCopysSpans) {
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    grid.selectBlock({2, 5, 3, 7});
    QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);  // Copy by key
    EXPECT_EQ(std::pair(f.state.ClipRowSpan, f.state.ClipColSpan), std::pair(1, 2));
    const QString copied = grid.blockText({2, 5, 3, 7});
    EXPECT_EQ(f.state.ClipText, copied.toStdString());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString(copied).replace('\r', '\n'))
        << "rows on the clipboard as a spreadsheet takes them";
    EXPECT_TRUE(f.window->mnuPopUpPaste3D->isEnabled());
    grid.setCurrentCell(4, 10);
    QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid.blockText({4, 10, 5, 12}), copied);
    EXPECT_EQ(grid.selection(), (CellBlock{4, 10, 5, 12}));
    for (int r = 4; r <= 5; ++r)
        for (int c = 10; c <= 12; ++c) EXPECT_DOUBLE_EQ(f.chartValue(r, c), grid.cellValue(r, c));
    EXPECT_EQ(f.window->editor().undoStack().count(), 1) << "a paste is one undo step";
    // Cut at the grid's edge, without a word.
    grid.setCurrentCell(8, 20);
    f.window->editor().Paste(TableKind::Table3D);
    EXPECT_EQ(grid.blockText({8, 20, 8, 21}), copied.split('\r')[0].section('\t', 0, 1));
}

// The right button offers Paste when there is something to paste, in the copy buffer or on
// the system clipboard.
TEST(BlockEditing, RightClickOffersPasteWhenThereIsSomethingToPaste) {
    for (const char* clipboard : {"5", ""}) {
        Opened f(k3D);
        QGuiApplication::clipboard()->setText(clipboard);
        QTest::mouseClick(f.grid().viewport(), Qt::RightButton, {},
                          f.grid().visualRect(f.grid().model()->index(2, 3)).center());
        EXPECT_EQ(f.window->mnuPopUpPaste3D->isEnabled(), *clipboard != 0) << clipboard;
        test::named<QMenu>(*f.window, "mnuPopUpEdit3D").close();
    }
}

// Text from other programs, whatever their line ends; nothing to paste changes nothing.
TEST(BlockEditing, TextFromAnotherProgramPastesAsItsRowsAndCells) {
    // The table, the clipboard, the selection and its text afterwards (nullptr: as it was).
    const std::tuple<std::uint8_t, const char*, CellBlock, const char*> cases[] = {
        {k3D, "20\t21\n22\t23\n", {2, 3, 3, 4}, "20\t21\r22\t23"},
        {k2D, "12.5\t13\tabc\r\n", {1, 1, 1, 3}, "12.5\t13\tabc"},
        {k3D, "1e400\t-2", {2, 3, 2, 4}, "1e400\t-2"},  // too large for any table: 0
        {k3D, "", {2, 3, 2, 3}, nullptr},
    };
    for (const auto& [kind, clipboard, selection, pasted] : cases) {
        Opened f(kind);
        TimingGrid& grid = f.grid();
        QGuiApplication::clipboard()->setText(clipboard);
        grid.selectBlock(selection);
        const QString before = grid.blockText(selection);
        QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(grid.blockText(selection), pasted ? QString(pasted) : before) << clipboard;
        EXPECT_EQ(f.window->editor().undoStack().count(), pasted ? 1 : 0);
        for (int r = selection.top; pasted && r <= selection.bottom; ++r)
            for (int col = selection.left; col <= selection.right; ++col) {
                const double number = leadingNumber(grid.cellText(r, col).toStdString());
                EXPECT_DOUBLE_EQ(f.chartValue(r, col), std::isfinite(number) ? number : 0);
            }
    }
}

TEST(BlockEditing, ModifyChangesEverySelectedCellAndCancelNone) {
    // The table, the entry (nullopt: Cancel) and what it leaves of 30 in every cell: held at
    // each table's upper limit, an empty entry taken as 0, the value unrounded in the chart.
    const std::tuple<std::uint8_t, std::optional<std::string>, double> cases[] = {
        {k3D, "80%", 24}, {k3D, std::nullopt, 30}, {k3D, "+20", 45}, {k2D, "+20", 40},
        {k3D, "", 0},     {k3D, "+10.05", 40.05}};
    for (const auto& [kind, entry, expected] : cases) {
        Opened f(kind);
        TimingGrid& grid = f.grid();
        const int bottom = f.is3D() ? 2 : 1;
        for (int r = 1; r <= bottom; ++r)
            for (int col = 4; col <= 5; ++col) EXPECT_TRUE(test::typeIntoCell(grid, r, col, "30"));
        const int steps = f.window->editor().undoStack().count();
        grid.selectBlock({1, 4, bottom, 5});
        f.prompts.answerInput(entry);
        (f.is3D() ? f.window->mnuPopUpModify3D : f.window->mnuPopUpModify2D)->trigger();
        EXPECT_EQ(f.prompts.shown().back().title, "Modify Selection");
        for (int r = 1; r <= bottom; ++r)
            for (int col = 4; col <= 5; ++col) {
                EXPECT_DOUBLE_EQ(f.chartValue(r, col), expected) << "unrounded in the chart";
                EXPECT_EQ(grid.cellText(r, col), entry ? cellNumber(expected, "#0.0") : "30");
            }
        EXPECT_EQ(grid.cellText(1, 6), cellNumber(f.chartValue(1, 6), "#0.0"))
            << "cells outside the selection are left";
        EXPECT_EQ(f.window->editor().undoStack().count(), steps + (entry ? 1 : 0));
    }
}

// Every edit is one step back; redo goes forward again; a save writes what is on show.
TEST(Undo, EveryEditIsOneStepAndASaveAfterUndoWritesTheUndoneValues) {
    Opened f(k3D);
    TableEditor& views = f.window->editor();
    std::vector<TableEditor::Snapshot> states{views.snapshot()};
    TimingGrid& grid = f.grid();
    EXPECT_TRUE(test::typeIntoCell(grid, 2, 2, "12"));
    states.push_back(views.snapshot());
    grid.selectBlock({3, 3, 4, 6});
    f.prompts.answerInput("-1");
    views.Modify(TableKind::Table3D);
    states.push_back(views.snapshot());
    grid.selectBlock({1, 2, 1, 6});
    QTest::keyClick(&grid, Qt::Key_I, Qt::ControlModifier);  // from 12 down to row 1's 6th
    EXPECT_DOUBLE_EQ(f.chartValue(1, 4), (f.chartValue(1, 2) + f.chartValue(1, 6)) / 2);
    states.push_back(views.snapshot());
    SurfaceChart& chart = f.chart3D();
    const SurfaceProjection view = chart.projection(QRectF(chart.rect()));
    drag(chart, f.pointAt(7, 15), {view.project(15, 2, 14)});
    states.push_back(views.snapshot());
    drag(chart, f.pointAt(4, 5), {view.project(5, 5, chart.value(5, 5) - 5)}, Qt::ShiftModifier);
    states.push_back(views.snapshot());
    ASSERT_EQ(views.undoStack().count(), 5);
    EXPECT_EQ(views.undoStack().undoLimit(), 1000) << "each step holds both tables: a bound";
    for (int step = 4; step >= 0; --step) {
        QTest::keyClick(&grid, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(views.snapshot(), states[static_cast<std::size_t>(step)]) << step;
    }
    for (int step = 1; step <= 2; ++step) {
        QTest::keyClick(&grid, Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(views.snapshot(), states[static_cast<std::size_t>(step)]) << step;
    }
    f.window->mnuSaveTbl->trigger();
    EXPECT_EQ(views.undoStack().count(), 0) << "cleared by the save";
    for (int x = 1; x <= 21; ++x)
        for (int y = 1; y <= 8; ++y)
            ASSERT_DOUBLE_EQ(f.state.Table3D(x, y),
                             decodeCell(30, encodeCell(30, states[2].chart3D(x, y))))
                << "the working table holds what the buffer holds";
}

}  // namespace
}  // namespace qz
