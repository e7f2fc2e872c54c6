#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLineEdit>

#include "image/cell_encoding.h"
#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "table/cell_text.h"

namespace qz {
namespace {

using test::k2D;
using test::k3D;
using Opened = test::OpenTableFixture;

void key(QWidget& widget, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&widget, k, modifiers);
    QCoreApplication::processEvents();  // an editor hands its text over through the event loop
}

void select(TimingGrid& grid, int row, int column, const CellBlock& block) {
    grid.setCurrentCell(row, column);
    grid.selectBlock(block);
}

// F2 on the current cell, the text typed, and the key that confirms it.
void typeAndPress(TimingGrid& grid, const char* text, Qt::Key k, Qt::KeyboardModifiers mods) {
    key(grid, Qt::Key_F2);
    QLineEdit* editor = test::openEditor(grid);
    ASSERT_TRUE(editor);
    editor->clear();
    QTest::keyClicks(editor, text);
    key(*editor, k, mods);
}

// The tune's grid rows 2 to 4, columns 3 to 5 hold bytes 45 to 89. At T = 30 a fine step up
// is 0.5 / 0.0879 = 5.69 bytes, so 6 retard bytes off, and Ctrl+- 22.75, so 23 bytes on:
// +, +, Ctrl+- leave each byte 11 higher, one undo step.
TEST(KeyboardEditing, StepsReachTheBufferAsTheEncodingGivesThem) {
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    select(grid, 3, 4, {2, 3, 4, 5});
    EXPECT_EQ(f.chart3D().selection(), (SurfaceSelection{3, 5, 5, 7, 4, 6})) << "outlined";
    EXPECT_EQ(f.chart3D().grab().toImage().pixelColor(f.pointAt(3, 4).toPoint()),
              QColor(20, 20, 20))
        << "the current cell's point is marked";
    const TableEditor::Snapshot before = f.editor().snapshot();
    key(grid, Qt::Key_Plus, Qt::ShiftModifier);  // + on the main keyboard is shifted
    key(grid, Qt::Key_Plus, Qt::KeypadModifier);
    key(grid, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(f.chart3D().valueLabelText(), advanceCell(f.chartValue(3, 4)));
    const TableEditor::Snapshot stepped = f.editor().snapshot();
    key(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(f.editor().snapshot(), before) << "one run of presses, one undo step";
    key(grid, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(f.editor().snapshot(), stepped);
    f.window->mnuSaveTbl->trigger();
    EXPECT_FALSE(f.editor().tableOpen()) << "the save closes the table";
    EepromBytes expected = f.opened;
    for (int row = 2; row <= 4; ++row)
        for (int column = 3; column <= 5; ++column)
            expected[static_cast<std::size_t>(112 + 21 * (row - 1) + column - 1)] += 11;
    EXPECT_EQ(f.state.EEPROMBuffer, expected);
}

// + and -: steps; s: another block selected; b: the first one again; t: a cell typed.
TEST(KeyboardEditing, ARunOfPressesOnOneSelectionIsOneUndoStep) {
    const std::pair<const char*, int> cases[] = {
        {"++-", 1}, {"+s+", 2}, {"+sb+", 2}, {"+t+", 3}, {"+-+-", 0}};
    for (const auto& [actions, steps] : cases) {
        Opened f(k3D);
        TimingGrid& grid = f.grid();
        select(grid, 2, 2, {2, 2, 3, 3});
        for (const char* a = actions; *a; ++a) {
            if (*a == '+' || *a == '-') key(grid, *a == '+' ? Qt::Key_Plus : Qt::Key_Minus);
            if (*a == 's') select(grid, 5, 5, {5, 5, 6, 6});
            if (*a == 't' && !test::typeIntoCell(grid, 7, 7, "20")) FAIL();
            if (*a == 'b' || *a == 't') select(grid, 2, 2, {2, 2, 3, 3});
        }
        EXPECT_EQ(f.editor().undoStack().count(), steps) << actions;
    }
}

// Where a confirmed cell leaves the current cell, from (1, 10); a refused text keeps its
// editor; a typed value may begin with a minus sign.
TEST(KeyboardEditing, EnterAndTabConfirmAndMoveAsInASpreadsheet) {
    // The table, the text typed, the key that confirms it, and the current cell afterwards.
    using Case = std::tuple<std::uint8_t, const char*, Qt::Key, Qt::KeyboardModifiers, int, int>;
    const Case cases[] = {
        {k3D, "20", Qt::Key_Return, Qt::NoModifier, 2, 10},
        {k3D, "20", Qt::Key_Enter, Qt::KeypadModifier | Qt::ShiftModifier, 1, 10},
        {k2D, "20", Qt::Key_Return, Qt::NoModifier, 1, 10},
        {k3D, "20", Qt::Key_Tab, Qt::NoModifier, 1, 11},
        {k3D, "20", Qt::Key_Backtab, Qt::ShiftModifier, 1, 9},
        {k3D, "-5", Qt::Key_Return, Qt::NoModifier, 1, 10},  // refused at T = 30
    };
    for (const auto& [kind, typed, confirm, modifiers, row, column] : cases) {
        Opened f(kind);
        const bool refused = typed[0] == '-';
        if (refused) f.prompts.answer(PromptAnswer::OK);
        f.grid().setCurrentCell(confirm == Qt::Key_Enter ? 2 : 1, 10);
        typeAndPress(f.grid(), typed, confirm, modifiers);
        EXPECT_EQ(std::tuple(f.grid().currentRow(), f.grid().currentColumn(), f.grid().editing()),
                  std::tuple(row, column, refused))
            << confirm;
        EXPECT_EQ(test::openEditor(f.grid()) ? test::openEditor(f.grid())->text() : "",
                  refused ? typed : "");
    }
    Opened f(k3D);
    TimingGrid& grid = f.grid();
    grid.setCurrentCell(1, 10);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(&grid, &del);
    for (Qt::Key k : {Qt::Key_Plus, Qt::Key_Minus}) key(grid, k);
    EXPECT_FALSE(grid.editing()) << "Delete, + and - start no typing";
    key(grid, Qt::Key_Return);
    EXPECT_EQ(grid.currentRow(), 2) << "Enter moves down outside an editor too";
}

// Ctrl+Enter writes the typed value, checked as one cell is, into the selection as one step.
TEST(KeyboardEditing, CtrlEnterWritesTheTypedValueIntoTheSelection) {
    for (const char* typed : {"12.5", "50"}) {
        Opened f(k3D);
        const bool taken = typed[0] == '1';
        if (!taken) f.prompts.answer(PromptAnswer::OK);
        select(f.grid(), 2, 3, {2, 3, 4, 5});
        const TableEditor::Snapshot before = f.editor().snapshot();
        typeAndPress(f.grid(), typed, Qt::Key_Return, Qt::ControlModifier);
        Table3DCells expected = before.chart3D;  // grid rows 2 to 4 are pressure rows 7 to 5
        for (int x = 3; x <= 5 && taken; ++x)
            for (int y = 5; y <= 7; ++y) expected(x, y) = 12.5;
        EXPECT_EQ(f.chart3D().table(), expected);
        EXPECT_EQ(f.editor().undoStack().count(), taken ? 1 : 0);
    }
}

// Enabled only when they can act; Ctrl+M smooths three cells in a row 1-2-1.
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
    select(grid, 2, 2, {2, 2, 3, 3});
    EXPECT_EQ(states(), std::tuple(false, false, true, false, false)) << "2 x 2: no inner cell";
    select(grid, 2, 2, {2, 2, 2, 4});
    EXPECT_EQ(states(), std::tuple(false, false, true, true, true)) << "three in a row";
    for (int x = 2; x <= 4; ++x) f.chart3D().setValue(x, 7, x == 3 ? 20 : 10);
    key(grid, Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(grid.cellText(2, 3), "15.0") << "(10 + 2 x 20 + 10) / 4";
    EXPECT_EQ(states(), std::tuple(true, false, true, true, true));
    key(grid, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(states(), std::tuple(false, true, true, true, true));
}

// Step Sizes sets the steps and keeps them for the user: a fine step of 1 is 11 bytes.
TEST(KeyboardEditing, StepSizesAreSetInTheirDialogAndKept) {
    for (const double fine : {1.0, 0.5}) {  // the second puts the default back
        Opened f(k3D);
        f.onDialog = [&](QDialog& dialog) {
            test::named<QDoubleSpinBox>(dialog, "txtFineStep").setValue(fine);
            dialog.accept();
        };
        f.window->mnuStepSizes->trigger();
        f.grid().setCurrentCell(2, 3);
        key(f.grid(), Qt::Key_Plus);
        EXPECT_EQ(encodeCell(30, f.chartValue(2, 3)), f.opened[135] - (fine == 1 ? 11 : 6));
        EXPECT_EQ(Opened(k3D).editor().stepSizes(), (StepSizes{fine, 2}));
    }
}

}  // namespace
}  // namespace qz
