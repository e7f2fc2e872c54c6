#include <QClipboard>
#include <QGuiApplication>

#include "core/leading_number.h"
#include "table/cell_text.h"
#include "table/table_views.h"

namespace qz {
namespace {

constexpr auto kEditTitle = "Timing Edit";

bool dataCell(int row, int column) {
    return row > 0 && column > 0;
}

}  // namespace

void TableViews::connectGrid(TimingGrid& grid, bool is3D) {
    QObject::connect(&grid, &TimingGrid::currentCellAboutToMove, &connections_,
                     [this, &grid](int oldRow, int oldColumn, int, int, bool*) {
                         Grid_BeforeRowColChange(grid, oldRow, oldColumn);
                     });
    QObject::connect(&grid, &TimingGrid::currentCellMoved, &connections_,
                     [this, &grid, is3D](int, int, int newRow, int newColumn) {
                         Grid_AfterRowColChange(grid, is3D, newRow, newColumn);
                     });
    QObject::connect(
        &grid, &TimingGrid::editAboutToCommit, &connections_,
        [this, &grid, is3D](int, int, bool* cancel) { Grid_ValidateEdit(grid, is3D, cancel); });
    QObject::connect(
        &grid, &TimingGrid::editCommitted, &connections_,
        [this, &grid, is3D](int row, int column) { Grid_AfterEdit(grid, is3D, row, column); });
    QObject::connect(&grid, &TimingGrid::copyKeyed, &connections_, [this, is3D] { Copy(is3D); });
    QObject::connect(&grid, &TimingGrid::pasteKeyed, &connections_, [this, is3D] { Paste(is3D); });
    QObject::connect(&grid, &TimingGrid::interpolateKeyed, &connections_,
                     [this, is3D] { Interpolate(is3D); });
    QObject::connect(&grid, &TimingGrid::mouseClicked, &connections_,
                     [this, is3D](Qt::MouseButton button, Qt::KeyboardModifiers, QPoint position) {
                         Grid_Click(is3D, button, position);
                     });
}

// A tuner reads a table by its colours: each data cell's own background is its advance on
// the chart's colour scale, lightened so the number stays easy to read.
QColor TableViews::cellColour(bool is3D, double advance) const {
    const QColor heat = is3D ? chart3D_->advanceColour(advance) : chart2D_->advanceColour(advance);
    return QColor::fromHsvF(heat.hsvHueF(), 0.32f, 1.0f);
}

// The current cell keeps its highlight; every other data cell shows its heat colour.
void TableViews::paintCell(TimingGrid& grid, bool is3D, int row, int column) {
    if (row == grid.currentRow() && column == grid.currentColumn())
        grid.setCellColours(row, column, grid.selectionBackground(), grid.selectionText());
    else
        grid.setCellColours(row, column, cellColour(is3D, grid.cellValue(row, column)),
                            grid.normalText());
}

void TableViews::paintHeat(TimingGrid& grid, bool is3D) {
    for (int row = 1; row < grid.rowCount(); ++row)
        for (int column = 1; column < grid.columnCount(); ++column)
            paintCell(grid, is3D, row, column);
}

// The cell left behind goes back to its own colour.
void TableViews::Grid_BeforeRowColChange(TimingGrid& grid, int oldRow, int oldColumn) {
    if (!dataCell(oldRow, oldColumn)) return;
    grid.setCellColours(oldRow, oldColumn,
                        cellColour(&grid == grid3D_, grid.cellValue(oldRow, oldColumn)),
                        grid.normalText());
}

// The current data cell is highlighted and the chart's value label points at its value.
void TableViews::Grid_AfterRowColChange(TimingGrid& grid, bool is3D, int newRow, int newColumn) {
    if (!dataCell(newRow, newColumn)) return;
    grid.setCellColours(newRow, newColumn, grid.selectionBackground(), grid.selectionText());
    TimingChart& chart = chartOf(is3D);
    const double value = is3D ? chart3D_->value(newColumn, kPressureRows + 1 - newRow)
                              : chart2D_->value(1, newColumn);
    chart.suspendRedraw();
    chart.setValueLabelVisible(true);
    if (is3D)
        chart.attachValueLabel(newColumn, kPressureRows + 1 - newRow);
    else
        chart.attachValueLabel(1, newColumn);
    chart.setValueLabelText(cellNumber(value, "#0.0"));
    chart.resumeRedraw();
}

// A typed advance must be a number within the timing range below the trigger timing; the
// 2D table takes no negative advance either.
void TableViews::Grid_ValidateEdit(TimingGrid& grid, bool is3D, bool* cancel) {
    const std::string text = grid.editorText().toStdString();
    const double value = leadingNumber(text);
    const int trigger = state_.TrigTiming;
    const int lowest = trigger - kTimingRange;
    const bool inRange = isNumericWhole(text) && value >= lowest && value <= trigger;
    if (is3D ? inRange : inRange && value >= 0) {
        beforeEdit_ = snapshot();  // for the undo step the commit makes
        return;
    }
    prompts_.message(is3D ? "Timing must be numeric value between " + std::to_string(lowest) +
                                " and " + std::to_string(trigger) + " degrees."
                          : "Timing must be numeric value greater than zero and within " +
                                std::to_string(kTimingRange) + " degrees of trigger timing.",
                     PromptIcon::Critical, PromptButtons::OK, kEditTitle);
    *cancel = true;
}

// The committed value goes into the chart; the cell keeps the text as typed.
void TableViews::Grid_AfterEdit(TimingGrid& grid, bool is3D, int row, int column) {
    const double value = grid.cellValue(row, column);
    setChartValue(is3D, row, column, value);
    chartOf(is3D).setValueLabelText(cellNumber(value, "#0.0"));
    if (beforeEdit_) recordEdit(*beforeEdit_, QStringLiteral("Typing"));
    beforeEdit_.reset();
}

// The right button offers Copy, Paste and Modify; Paste only when there is something to
// paste, in the copy buffer or on the system clipboard.
void TableViews::Grid_Click(bool is3D, Qt::MouseButton button, const QPoint& position) {
    if (button != Qt::RightButton) return;
    QMenu* menu = is3D ? hooks_.popUpEdit3D : hooks_.popUpEdit2D;
    QAction* paste = is3D ? hooks_.popUpPaste3D : hooks_.popUpPaste2D;
    if (!menu || !paste) return;
    paste->setEnabled(!state_.ClipText.empty() || !QGuiApplication::clipboard()->text().isEmpty());
    TimingGrid& grid = is3D ? *grid3D_ : *grid2D_;
    menu->popup(grid.viewport()->mapToGlobal(position));
}

}  // namespace qz
