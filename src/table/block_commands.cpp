#include <QClipboard>
#include <QGuiApplication>

#include "table/block_edits.h"
#include "table/cell_text.h"
#include "table/table_editor.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {

std::optional<CellBlock> TableEditor::selectedData(TableKind kind) const {
    CellBlock block = views(kind).grid->selection();
    block.top = std::max(block.top, 1);
    block.left = std::max(block.left, 1);
    if (kind == TableKind::Table2D) block.top = block.bottom = 1;
    if (block.bottom < block.top || block.right < block.left) return std::nullopt;
    return block;
}

TableEditor::BlockValues TableEditor::blockValues(TableKind kind, const CellBlock& block,
                                                  ValueSource source) const {
    const KindViews& view = views(kind);
    BlockValues values;
    for (int row = block.top; row <= block.bottom; ++row) {
        values.emplace_back();
        for (int column = block.left; column <= block.right; ++column)
            values.back().push_back(source == ValueSource::Chart
                                        ? view.chart->cellValue(row, column)
                                        : view.grid->cellValue(row, column));
    }
    return values;
}

void TableEditor::blockEdit(TableKind kind, const QString& what, const std::function<void()>& write,
                            std::optional<int> stepRun) {
    const Snapshot before = snapshot();
    TimingChart& chart = *views(kind).chart;
    chart.suspendRedraw();
    chart.setValueLabelVisible(false);
    write();
    // A tuner stepping a block watches the current cell's value move.
    const TimingGrid& grid = *views(kind).grid;
    if (stepRun) showValueLabel(kind, grid.currentRow(), grid.currentColumn());
    chart.resumeRedraw();
    recordEdit(before, what, stepRun);
}

void TableEditor::writeBlock(TableKind kind, const CellBlock& block, const BlockValues& values) {
    for (int row = block.top; row <= block.bottom; ++row)
        for (int column = block.left; column <= block.right; ++column)
            writeCell(kind, row, column,
                      values[static_cast<std::size_t>(row - block.top)]
                            [static_cast<std::size_t>(column - block.left)]);
}

void TableEditor::writeCells(TableKind kind, const std::vector<CellValue>& cells,
                             const QString& what) {
    if (openKind() != kind) return;
    blockEdit(kind, what, [&] {
        for (const CellValue& cell : cells)
            writeCell(kind, kind == TableKind::Table2D ? 1 : kPressureRows + 1 - cell.row,
                      cell.column, cell.advance);
    });
}

void TableEditor::Copy(TableKind kind) {
    const auto block = selectedData(kind);
    if (!block) return;
    state_.ClipText = views(kind).grid->blockText(*block).toStdString();
    state_.ClipRowSpan = block->bottom - block->top;
    state_.ClipColSpan = block->right - block->left;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(withPlatformLineEnds(QString::fromStdString(state_.ClipText)));
    if (hooks_.setPasteEnabled) hooks_.setPasteEnabled(kind, true);
}

// The clipboard's text, whoever put it there, into the block the last copy's size decides;
// cut to the grid. Pasted values are not checked: a cell without a number gives 0, and the
// grid keeps the text as pasted. With nothing to paste nothing happens, as the greyed-out
// menu item says.
void TableEditor::Paste(TableKind kind) {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    const auto selection = selectedData(kind);
    if (!selection) return;
    TimingGrid& grid = *views(kind).grid;
    const CellBlock target =
        pasteTarget(*selection, kind == TableKind::Table3D ? state_.ClipRowSpan : 0,
                    state_.ClipColSpan, grid.rowCount() - 1, grid.columnCount() - 1);
    blockEdit(kind, QStringLiteral("Paste"), [&] {
        grid.setCurrentCell(target.top, target.left);
        grid.selectBlock(target);
        grid.fillBlock(target, foldLineEnds(text));
        for (int row = target.top; row <= target.bottom; ++row)
            for (int column = target.left; column <= target.right; ++column) {
                views(kind).chart->setCellValue(row, column, grid.cellValue(row, column));
                paintCell(kind, row, column);
            }
    });
}

// Cancel leaves every cell as it was; an empty entry confirmed sets them to 0.
void TableEditor::Modify(TableKind kind) {
    const auto typed = prompts_.input(modifyPrompt(), "Modify Selection", "");
    if (!typed) return;
    const ModifyEntry entry = parseModifyEntry(*typed);
    const auto block = selectedData(kind);
    if (!block) return;
    const double upper = kind == TableKind::Table3D ? 45 : 40;
    BlockValues values = blockValues(kind, *block);
    for (auto& row : values)
        for (double& value : row) value = modifiedValue(entry, value, upper);
    blockEdit(kind, QStringLiteral("Modify"), [&] { writeBlock(kind, *block, values); });
}

void TableEditor::Interpolate(TableKind kind) {
    const auto block = selectedData(kind);
    if (!block) return;
    const BlockValues values = interpolated(blockValues(kind, *block));
    blockEdit(kind, QStringLiteral("Interpolate"), [&] { writeBlock(kind, *block, values); });
}

// From the values the chart holds, into the span typing allows.
void TableEditor::Smooth(TableKind kind) {
    const auto block = selectedData(kind);
    if (!block || !hasInnerCells(*block)) return;
    const BlockValues values = smoothed(blockValues(kind, *block, ValueSource::Chart),
                                        lowestAdvance(state_.TrigTiming, kind), state_.TrigTiming);
    blockEdit(kind, QStringLiteral("Smooth"), [&] { writeBlock(kind, *block, values); });
}

void TableEditor::Step(bool up, bool coarse) {
    const auto kind = openKind();
    if (!kind || !commitPendingEdit()) return;
    const auto block = selectedData(*kind);
    if (!block) return;
    const double size = coarse ? stepSizes_.coarse : stepSizes_.fine;
    BlockValues values = blockValues(*kind, *block, ValueSource::Chart);
    for (auto& row : values)
        for (double& value : row)
            value = steppedAdvance(value, up ? size : -size, state_.TrigTiming, *kind);
    blockEdit(
        *kind, up ? QStringLiteral("Step Up") : QStringLiteral("Step Down"),
        [&] { writeBlock(*kind, *block, values); }, stepRun_);
}

}  // namespace qz
