#include <QClipboard>
#include <QGuiApplication>

#include "core/leading_number.h"
#include "table/cell_text.h"
#include "table/table_editor.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

constexpr auto kEditTitle = "Timing Edit";

bool dataCell(int row, int column) {
    return row > 0 && column > 0;
}

}  // namespace

void TableEditor::connectGrid(TableKind kind) {
    TimingGrid* grid = views(kind).grid;
    QObject::connect(grid, &TimingGrid::currentCellAboutToMove, &connections_,
                     [this, kind](int oldRow, int oldColumn, int, int, bool*) {
                         Grid_BeforeRowColChange(kind, oldRow, oldColumn);
                     });
    QObject::connect(grid, &TimingGrid::currentCellMoved, &connections_,
                     [this, kind](int, int, int newRow, int newColumn) {
                         Grid_AfterRowColChange(kind, newRow, newColumn);
                     });
    QObject::connect(grid, &TimingGrid::editAboutToCommit, &connections_,
                     [this, kind](int, int, bool* cancel) { Grid_ValidateEdit(kind, cancel); });
    QObject::connect(grid, &TimingGrid::editCommitted, &connections_,
                     [this, kind](int row, int column) { Grid_AfterEdit(kind, row, column); });
    QObject::connect(grid, &TimingGrid::copyKeyed, &connections_, [this, kind] { Copy(kind); });
    QObject::connect(grid, &TimingGrid::pasteKeyed, &connections_, [this, kind] { Paste(kind); });
    QObject::connect(grid, &TimingGrid::stepKeyed, &connections_,
                     [this](bool up, bool coarse) { Step(up, coarse); });
    // A run of steps is on one selection; another selection begins another run.
    QObject::connect(grid, &QTableWidget::itemSelectionChanged, &connections_, [this] {
        endStepRun();
        updateActions();
        outlineSelection();
    });
    QObject::connect(grid, &QTableWidget::currentCellChanged, &connections_,
                     [this] { outlineSelection(); });
    QObject::connect(grid, &TimingGrid::mouseClicked, &connections_,
                     [this, kind](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
                         Grid_Click(kind, button, position);
                     });
}

// A tuner reads a table by its colours: each data cell's own background is its advance on
// the chart's colour scale, lightened so the number stays easy to read.
QColor TableEditor::cellColour(TableKind kind, double advance) const {
    const QColor heat = views(kind).chart->advanceColour(advance);
    return QColor::fromHsvF(heat.hsvHueF(), 0.32f, 1.0f);
}

// The current cell keeps its highlight; every other data cell shows its heat colour.
void TableEditor::paintCell(TableKind kind, int row, int column) {
    TimingGrid& grid = *views(kind).grid;
    if (row == grid.currentRow() && column == grid.currentColumn())
        grid.setCellColours(row, column, grid.selectionBackground(), grid.selectionText());
    else
        grid.setCellColours(row, column, cellColour(kind, grid.cellValue(row, column)),
                            grid.normalText());
}

void TableEditor::paintHeat(TableKind kind) {
    const TimingGrid& grid = *views(kind).grid;
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column = 1; column < grid.columnCount(); ++column) paintCell(kind, row, column);
}

void TableEditor::writeCell(TableKind kind, int row, int column, double value) {
    views(kind).chart->setCellValue(row, column, value);
    views(kind).grid->setCellText(row, column, advanceCell(value));
    paintCell(kind, row, column);
}

// The cell left behind goes back to its own colour.
void TableEditor::Grid_BeforeRowColChange(TableKind kind, int oldRow, int oldColumn) {
    if (!dataCell(oldRow, oldColumn)) return;
    TimingGrid& grid = *views(kind).grid;
    grid.setCellColours(oldRow, oldColumn, cellColour(kind, grid.cellValue(oldRow, oldColumn)),
                        grid.normalText());
}

// The current data cell is highlighted and the chart's value label points at its value.
void TableEditor::Grid_AfterRowColChange(TableKind kind, int newRow, int newColumn) {
    if (!dataCell(newRow, newColumn)) return;
    TimingGrid& grid = *views(kind).grid;
    grid.setCellColours(newRow, newColumn, grid.selectionBackground(), grid.selectionText());
    TimingChart& chart = *views(kind).chart;
    chart.suspendRedraw();
    showValueLabel(kind, newRow, newColumn);
    chart.resumeRedraw();
}

void TableEditor::outlineSelection() {
    const TimingGrid& grid = *views(TableKind::Table3D).grid;
    const auto block = selectedData(TableKind::Table3D);
    const auto y = [](int row) { return kPressureRows + 1 - row; };
    chart3D_->setSelection(block ? SurfaceSelection{block->left, block->right, y(block->bottom),
                                                    y(block->top), grid.currentColumn(),
                                                    y(grid.currentRow())}
                                 : SurfaceSelection{});
}

void TableEditor::showValueLabel(TableKind kind, int row, int column) {
    if (!dataCell(row, column)) return;
    TimingChart& chart = *views(kind).chart;
    chart.setValueLabelVisible(true);
    const auto [first, second] = chart.labelPointOf(row, column);
    chart.attachValueLabel(first, second);
    chart.setValueLabelText(advanceCell(chart.cellValue(row, column)));
}

// A refused advance keeps its editor open with the reason.
void TableEditor::Grid_ValidateEdit(TableKind kind, bool* cancel) {
    const auto refusal = typedAdvanceRefusal(views(kind).grid->editorText().toStdString(),
                                             state_.TrigTiming, kind == TableKind::Table3D);
    if (!refusal) {
        beforeEdit_ = snapshot();  // for the undo step the commit makes
        return;
    }
    prompts_.message(*refusal, PromptIcon::Critical, PromptButtons::OK, kEditTitle);
    *cancel = true;
}

// The committed value goes into the chart; the cell keeps the text as typed. Confirmed with
// Ctrl+Enter it goes into every selected cell as well, the whole as one undo step.
void TableEditor::Grid_AfterEdit(TableKind kind, int row, int column) {
    TimingChart& chart = *views(kind).chart;
    const double value = views(kind).grid->cellValue(row, column);
    chart.setCellValue(row, column, value);
    chart.setValueLabelText(advanceCell(value));
    if (views(kind).grid->committingForSelection()) fillSelection(kind, row, column);
    if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Typing"));
    beforeEdit_.reset();
}

void TableEditor::fillSelection(TableKind kind, int row, int column) {
    const auto block = selectedData(kind);
    if (!block) return;
    TimingGrid& grid = *views(kind).grid;
    const QString text = grid.cellText(row, column);
    const double value = grid.cellValue(row, column);
    TimingChart& chart = *views(kind).chart;
    chart.suspendRedraw();
    for (int r = block->top; r <= block->bottom; ++r)
        for (int c = block->left; c <= block->right; ++c) {
            chart.setCellValue(r, c, value);
            grid.setCellText(r, c, text);
            paintCell(kind, r, c);
        }
    chart.resumeRedraw();
}

// The right button offers Copy, Paste and Modify; Paste only when there is something to
// paste, in the copy buffer or on the system clipboard.
void TableEditor::Grid_Click(TableKind kind, Qt::MouseButton button, const QPoint& position) {
    if (button != Qt::RightButton) return;
    if (hooks_.setPasteEnabled)
        hooks_.setPasteEnabled(
            kind, !state_.ClipText.empty() || !QGuiApplication::clipboard()->text().isEmpty());
    if (hooks_.showContextMenu)
        hooks_.showContextMenu(kind, views(kind).grid->viewport()->mapToGlobal(position));
}

}  // namespace qz
