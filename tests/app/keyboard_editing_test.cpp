#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineEdit>

#include "image/cell_encoding.h"
#include "qz1/qz1_harness.h"
#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "table/cell_text.h"
#include "table/step_sizes_dialog.h"

namespace qz {
namespace {

using test::k2D;
using test::k3D;
using Opened = test::OpenTableFixture;

void key(QWidget& widget, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&widget, k, modifiers);
    QCoreApplication::processEvents();  // an editor hands its text over through the event loop
}

// The 3D tune's grid rows 2 to 4, columns 3 to 5 hold bytes 45 to 89, so at T = 30 a fine
// step up is 0.5 / 0.0879 = 5.69 bytes, taken as 6 retard bytes off, and Ctrl+- is 22.75, 23
// bytes on: +, +, Ctrl+- leave each byte 11 higher. The three presses are one undo step.
TEST(KeyboardEditing, StepsReachTheBufferAndTheFileAsTheEncodingGivesThem) {
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    const CellBlock block{2, 3, 4, 5};
    grid.setCurrentCell(3, 4);
    grid.selectBlock(block);
    grid.setFocus();
    EXPECT_EQ(f.chart3D().selection(), (SurfaceSelection{3, 5, 5, 7, 4, 6})) << "outlined";
    EXPECT_EQ(f.chart3D().grab().toImage().pixelColor(f.pointAt(3, 4).toPoint()),
              QColor(20, 20, 20))
        << "the current cell's point is marked";
    const TableEditor::Snapshot before = f.editor().snapshot();
    key(grid, Qt::Key_Plus, Qt::ShiftModifier);  // + on the main keyboard is shifted
    key(grid, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(f.chart3D().valueLabelText(), advanceCell(f.chartValue(3, 4)))
        << "the label shows the current cell";
    key(grid, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_TRUE(f.chart3D().valueLabelVisible());
    const TableEditor::Snapshot stepped = f.editor().snapshot();
    EXPECT_EQ(f.editor().undoStack().count(), 1) << "one run of presses, one undo step";
    key(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.editor().snapshot(), before);
    key(grid, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.editor().snapshot(), stepped);
    f.window->mnuSaveTbl->trigger();
    EepromBytes expected = f.opened;
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column) {
            const auto address = static_cast<std::size_t>(112 + 21 * (row - 1) + column - 1);
            expected[address] = static_cast<std::uint8_t>(expected[address] + 11);
            EXPECT_EQ(grid.cellText(row, column), advanceCell(decodeCell(30, expected[address])))
                << "the grid showed what the module holds";
        }
    EXPECT_EQ(f.state.EEPROMBuffer, expected);
    f.prompts.answerFile(f.folder.file("stepped.dat"));
    f.window->mnuSaveFile->trigger();
    // The file holds the buffer, its parameter bytes as Save File writes them.
    EXPECT_EQ(f.folder.read("stepped.dat"), qz1::test::fileBytes(f.state.EEPROMBuffer));
    EXPECT_TRUE(std::equal(expected.begin() + 16, expected.begin() + 37,
                           f.state.EEPROMBuffer.begin() + 16));
    EXPECT_TRUE(
        std::equal(expected.begin() + 112, expected.end(), f.state.EEPROMBuffer.begin() + 112));
}

// A run of presses is one undo step; a moved selection, another edit or an undo begins a new
// run. Each row: what is done, in order, and the undo steps there are afterwards.
TEST(KeyboardEditing, ARunOfPressesOnOneSelectionIsOneUndoStep) {
    const struct {
        const char* actions;  // + -: steps; s: select another block; b: select back; t: type
        int steps;
    } cases[] = {
        {"++-", 1}, {"+s+", 2}, {"+sb+", 2}, {"+t+", 3}, {"+-+-", 0},
    };
    for (const auto& c : cases) {
        Opened f(k3D);
        TimingGrid& grid = f.grid();
        const auto select = [&](CellBlock b) {
            grid.setCurrentCell(b.top, b.left);
            grid.selectBlock(b);
        };
        select({2, 2, 3, 3});
        for (const char* a = c.actions; *a; ++a) {
            if (*a == '+' || *a == '-') key(grid, *a == '+' ? Qt::Key_Plus : Qt::Key_Minus);
            if (*a == 's') select({5, 5, 6, 6});
            if (*a == 'b') select({2, 2, 3, 3});
            if (*a == 't') {
                EXPECT_TRUE(test::typeIntoCell(grid, 7, 7, "20"));
                select({2, 2, 3, 3});
            }
        }
        EXPECT_EQ(f.editor().undoStack().count(), c.steps) << c.actions;
    }
}

// Enter confirms and moves down, Shift+Enter up, Tab right, Shift+Tab left, without opening
// the next cell; a refused text keeps its editor and the cell. + and - never start typing,
// Delete leaves a cell as it is, and after F2 a value can begin with a minus sign.
TEST(KeyboardEditing, KeysConfirmAndMoveAsInASpreadsheet) {
    const struct {
        std::uint8_t kind;
        const char* typed;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row, column;  // current afterwards, from (1, 10)
        bool committed;
    } cases[] = {
        {k3D, "20", Qt::Key_Return, Qt::NoModifier, 2, 10, true},
        {k3D, "20", Qt::Key_Enter, Qt::KeypadModifier, 2, 10, true},
        {k2D, "20", Qt::Key_Return, Qt::NoModifier, 1, 10, true},
        {k3D, "20", Qt::Key_Tab, Qt::NoModifier, 1, 11, true},
        {k3D, "20", Qt::Key_Backtab, Qt::ShiftModifier, 1, 9, true},
        {k3D, "40", Qt::Key_Return, Qt::NoModifier, 1, 10, false},
        {k3D, "-5", Qt::Key_Return, Qt::NoModifier, 2, 10, true},  // at T = 10
    };
    for (const auto& c : cases) {
        Opened f(c.kind);
        if (std::string(c.typed) == "-5") f.state.TrigTiming = 10;
        TimingGrid& grid = f.grid();
        grid.setCurrentCell(1, 10);
        grid.setFocus();
        if (!c.committed) f.prompts.answer(PromptAnswer::OK);
        const std::size_t messages = f.prompts.messages().size();
        const QString before = grid.cellText(1, 10);
        key(grid, Qt::Key_F2);
        QLineEdit* editor = test::openEditor(grid);
        ASSERT_TRUE(editor);
        editor->clear();
        QTest::keyClicks(editor, c.typed);
        key(*editor, c.key, c.modifiers);
        EXPECT_EQ(std::tuple(grid.currentRow(), grid.currentColumn(), grid.editing()),
                  std::tuple(c.row, c.column, !c.committed))
            << c.typed << " " << c.key;
        EXPECT_EQ(grid.cellText(1, 10), c.committed ? c.typed : before) << c.key;
        EXPECT_EQ(f.prompts.messages().size(), messages + (c.committed ? 0 : 1));
    }
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    grid.setCurrentCell(1, 10);
    for (Qt::Key k : {Qt::Key_Delete, Qt::Key_Plus, Qt::Key_Minus}) key(grid, k);
    EXPECT_FALSE(grid.editing()) << "no key of these starts typing";
    key(grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentRow(), 2) << "Enter moves down outside an editor as well";
}

// Ctrl+Enter writes the typed value, checked as one typed cell is, into every selected cell
// as one undo step; a refused one changes none.
TEST(KeyboardEditing, CtrlEnterWritesTheTypedValueIntoTheSelection) {
    for (const char* typed : {"12.5", "50"}) {
        Opened f(k3D);
        const bool taken = std::string(typed) == "12.5";
        if (!taken) f.prompts.answer(PromptAnswer::OK);
        TimingGrid& grid = f.grid();
        grid.setCurrentCell(2, 3);
        grid.selectBlock({2, 3, 4, 5});
        const TableEditor::Snapshot before = f.editor().snapshot();
        key(grid, Qt::Key_F2);
        QLineEdit* editor = test::openEditor(grid);
        ASSERT_TRUE(editor);
        editor->clear();
        QTest::keyClicks(editor, typed);
        key(*editor, Qt::Key_Return, Qt::ControlModifier);
        for (int row = 2; row <= 4; ++row)
            for (int column = 3; column <= 5; ++column) {
                EXPECT_EQ(grid.cellText(row, column),
                          taken ? QString(typed) : before.grid3D[(row - 1) * 21 + column - 1]);
                if (taken) {
                    EXPECT_EQ(f.chartValue(row, column), 12.5);
                }
            }
        EXPECT_EQ(grid.cellText(5, 3), before.grid3D[4 * 21 + 2]) << "outside the selection";
        EXPECT_EQ(f.editor().undoStack().count(), taken ? 1 : 0);
        if (!taken) continue;
        key(grid, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(f.editor().snapshot(), before);
    }
}

// Ctrl+M: the hand-worked 1-2-1 rows, the ends kept, written as Modify writes.
TEST(KeyboardEditing, CtrlMSmoothsTheSelectedBlock) {
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    const double row[] = {10, 20, 28, 20, 10};
    for (int c = 0; c < 5; ++c) f.chart3D().setValue(c + 1, 8, row[c]);
    grid.setCurrentCell(1, 1);
    grid.selectBlock({1, 1, 1, 5});
    key(grid, Qt::Key_M, Qt::ControlModifier);
    const double smoothed[] = {10, 19.5, 24, 19.5, 10};
    for (int c = 0; c < 5; ++c) {
        EXPECT_DOUBLE_EQ(f.chartValue(1, c + 1), smoothed[c]) << c;
        EXPECT_EQ(grid.cellText(1, c + 1), advanceCell(smoothed[c]));
    }
    EXPECT_EQ(f.editor().undoStack().count(), 1);
}

// The Edit menu's and the grids' keyboard commands are enabled only when they can act.
TEST(KeyboardEditing, TheCommandsAreEnabledOnlyWhenTheyCanAct) {
    test::EditorFixture f(k3D);
    const TableEditor::Actions& a = f.editor().actions();
    const auto states = [&] {
        return std::tuple(a.undo->isEnabled(), a.redo->isEnabled(), a.stepUp->isEnabled(),
                          a.interpolate->isEnabled(), a.smooth->isEnabled());
    };
    EXPECT_EQ(states(), std::tuple(false, false, false, false, false)) << "no table open";
    f.window->mnuEditTimingTable->trigger();
    EXPECT_EQ(states(), std::tuple(false, false, false, false, false)) << "the corner current";
    TimingGrid& grid = f.grid();
    grid.setCurrentCell(2, 2);
    EXPECT_EQ(states(), std::tuple(false, false, true, false, false)) << "one cell";
    grid.selectBlock({2, 2, 3, 3});
    EXPECT_EQ(states(), std::tuple(false, false, true, false, false)) << "2 x 2: no inner cell";
    grid.selectBlock({2, 2, 2, 4});
    EXPECT_EQ(states(), std::tuple(false, false, true, true, true)) << "three in a row";
    key(grid, Qt::Key_Plus);
    EXPECT_EQ(states(), std::tuple(true, false, true, true, true));
    key(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(states(), std::tuple(false, true, true, true, true));
    EXPECT_TRUE(f.window->mnuStepSizes->isEnabled());
}

// Step Sizes sets the fine and the coarse step and keeps them for the user: 1 degree is
// 11.38, 11 bytes.
TEST(KeyboardEditing, StepSizesAreSetInTheirDialogAndKept) {
    {
        Opened f(k3D);
        f.onDialog = [](QDialog& dialog) {
            test::named<QDoubleSpinBox>(dialog, "txtFineStep").setValue(1);
            dialog.accept();
        };
        f.window->mnuStepSizes->trigger();
        f.grid().setCurrentCell(2, 3);
        key(f.grid(), Qt::Key_Plus);
        EXPECT_EQ(encodeCell(30, f.chartValue(2, 3)), f.opened[112 + 21 + 2] - 11);
    }
    Opened g(k3D);
    EXPECT_EQ(g.editor().stepSizes(), (StepSizes{1, 2}));
    g.onDialog = [](QDialog& dialog) {  // back to the defaults for the other tests
        test::named<QDoubleSpinBox>(dialog, "txtFineStep").setValue(0.5);
        dialog.accept();
    };
    g.window->mnuStepSizes->trigger();
    EXPECT_EQ(g.editor().stepSizes(), StepSizes{});
}

}  // namespace
}  // namespace qz
