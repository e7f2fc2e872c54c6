#include <QClipboard>
#include <QGuiApplication>

#include "core/leading_number.h"
#include "table/block_edits.h"
#include "table/cell_text.h"
#include "table/table_views.h"

namespace qz {

std::optional<CellBlock> TableViews::selectedData(bool is3D) const {
    const TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    CellBlock block = grid.selection();
    block.top = std::max(block.top, 1);
    block.left = std::max(block.left, 1);
    if (!is3D) block.top = block.bottom = 1;
    if (block.bottom < block.top || block.right < block.left) return std::nullopt;
    return block;
}

TimingChart& TableViews::chartOf(bool is3D) {
    return is3D ? static_cast<TimingChart&>(*chart3D_) : *chart2D_;
}

void TableViews::setChartValue(bool is3D, int row, int column, double value) {
    if (is3D)
        chart3D_->setValue(column, kPressureRows + 1 - row, value);
    else
        chart2D_->setValue(1, column, value);
}

void TableViews::writeCell(bool is3D, int row, int column, double value) {
    setChartValue(is3D, row, column, value);
    TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    grid.setCellText(row, column, cellNumber(value, "#0.0"));
    paintCell(grid, is3D, row, column);
}

void TableViews::Copy(bool is3D) {
    const auto block = selectedData(is3D);
    if (!block) return;
    const TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    state_.ClipText = grid.blockText(*block).toStdString();
    state_.ClipRowSpan = block->bottom - block->top;
    state_.ClipColSpan = block->right - block->left;
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(withPlatformLineEnds(QString::fromStdString(state_.ClipText)));
    if (QAction* paste = is3D ? hooks_.popUpPaste3D : hooks_.popUpPaste2D) paste->setEnabled(true);
}

// The clipboard's text, whoever put it there, into the block the last copy's size decides;
// cut to the grid. Pasted values are not checked: a cell without a number gives 0. With
// nothing to paste nothing happens, as the greyed-out menu item says.
void TableViews::Paste(bool is3D) {
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty()) return;
    const auto selection = selectedData(is3D);
    if (!selection) return;
    TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    const CellBlock target =
        pasteTarget(*selection, is3D ? state_.ClipRowSpan : 0, state_.ClipColSpan,
                    grid.rowCount() - 1, grid.columnCount() - 1);
    const Snapshot before = snapshot();
    grid.setCurrentCell(target.top, target.left);
    grid.selectBlock(target);
    grid.fillBlock(target, foldLineEnds(text));
    TimingChart& chart = chartOf(is3D);
    chart.setValueLabelVisible(false);
    chart.suspendRedraw();
    for (int row = target.top; row <= target.bottom; ++row)
        for (int column = target.left; column <= target.right; ++column) {
            const double value = grid.cellValue(row, column);
            setChartValue(is3D, row, column, value);
            grid.setCellColours(row, column, cellColour(is3D, value), grid.normalText());
        }
    chart.resumeRedraw();
    recordEdit(before, QStringLiteral("Paste"));
}

// Cancel leaves every cell as it was; an empty entry confirmed sets them to 0.
void TableViews::Modify(bool is3D) {
    const auto typed = prompts_.input(modifyPrompt(), "Modify Selection", "");
    if (!typed) return;
    const ModifyEntry entry = parseModifyEntry(*typed);
    const auto block = selectedData(is3D);
    if (!block) return;
    const Snapshot before = snapshot();
    TimingChart& chart = chartOf(is3D);
    const TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    chart.setValueLabelVisible(false);
    chart.suspendRedraw();
    for (int row = block->top; row <= block->bottom; ++row)
        for (int column = block->left; column <= block->right; ++column)
            writeCell(is3D, row, column,
                      modifiedValue(entry, grid.cellValue(row, column), is3D ? 45 : 40));
    chart.resumeRedraw();
    recordEdit(before, QStringLiteral("Modify"));
}

void TableViews::Interpolate(bool is3D) {
    const auto block = selectedData(is3D);
    if (!block) return;
    const TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    std::vector<std::vector<double>> values;
    for (int row = block->top; row <= block->bottom; ++row) {
        values.emplace_back();
        for (int column = block->left; column <= block->right; ++column)
            values.back().push_back(grid.cellValue(row, column));
    }
    const auto filled = interpolated(values);
    const Snapshot before = snapshot();
    TimingChart& chart = chartOf(is3D);
    chart.setValueLabelVisible(false);
    chart.suspendRedraw();
    for (int row = block->top; row <= block->bottom; ++row)
        for (int column = block->left; column <= block->right; ++column)
            writeCell(is3D, row, column,
                      filled[static_cast<std::size_t>(row - block->top)]
                            [static_cast<std::size_t>(column - block->left)]);
    chart.resumeRedraw();
    recordEdit(before, QStringLiteral("Interpolate"));
}

}  // namespace qz
