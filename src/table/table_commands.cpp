#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include "image/cell_encoding.h"
#include "table/cell_text.h"
#include "table/table_views.h"

namespace qz {
namespace {

constexpr auto kTemplate2D = "QZ_2D_Timing_Chart.oc2";
constexpr auto kEditTitle = "Edit Timing Table";
constexpr auto kSaveTitle = "Save Table Edits To Buffer";

}  // namespace

std::string limitedCellsMessage(const EncodingLimits& limits, int trigTiming, TableKind kind) {
    auto cells = [](int n) { return std::to_string(n) + (n == 1 ? " cell" : " cells"); };
    std::string text;
    if (limits.aboveTrigger > 0)
        text += cells(limits.aboveTrigger) + " above the trigger timing " +
                std::to_string(trigTiming) + " saved at " +
                formatNumber(decodeCell(trigTiming, 0), "#0.0") + " degrees.";
    if (limits.belowLowest > 0) {
        double lowest = decodeCell(trigTiming, 255);
        if (kind == TableKind::Table2D) lowest = std::max(0.0, lowest);
        if (!text.empty()) text += "\n";
        text += cells(limits.belowLowest) + " below the lowest advance the module holds at " +
                "trigger timing " + std::to_string(trigTiming) + " saved at " +
                formatNumber(lowest, "#0.0") + " degrees.";
    }
    return text;
}

void TableViews::editTable() {
    if (!offerToKeepEdits()) return;
    state_.ClipText.clear();
    QGuiApplication::clipboard()->clear();
    hideAll();  // an open table is abandoned: it is shown again from the working table
    if (state_.Table3DEnabled) ChartSetup3D();
    if (state_.BufferEmpty) {
        if (prompts_.message("Data buffer empty. Create new table?", PromptIcon::None,
                             PromptButtons::OKCancel, kEditTitle) == PromptAnswer::OK &&
            hooks_.runWizard)
            hooks_.runWizard(state_.Table2DEnabled ? TableKind::Table2D : TableKind::Table3D);
        return;
    }
    QCoreApplication::processEvents();
    switch (selectedTable(state_)) {
        case TableKind::Table2D:
            chart2D_->suspendRedraw();
            if (!chart2D_->loadTemplate(templatePath(kTemplate2D))) {
                prompts_.message(std::string("Chart template file ") + kTemplate2D + " not found.",
                                 PromptIcon::Critical, PromptButtons::OK, kEditTitle);
                chart2D_->resumeRedraw();
                closeTable();
                return;
            }
            show2DTable();
            break;
        case TableKind::Table3D:
            show3DTable();
            break;
        case TableKind::Disabled:
            return;
    }
    newTable_ = false;  // the working table as it stands, not a table a wizard made
}

// Shows a working table as the open one: into the chart, the chart into the grid, the label
// hidden, the views laid out and shown, the header corner current.
template <typename Chart, typename Table>
void TableViews::showTable(Chart& chart, TimingGrid& grid, const Table& table,
                           void (TableViews::*copyToGrid)()) {
    chart.suspendRedraw();
    chart.setTable(table);
    chart.resumeRedraw();
    (this->*copyToGrid)();
    chart.setValueLabelVisible(false);
    if (hooks_.formResize) hooks_.formResize();
    chart.show();
    grid.show();
    grid.setCurrentCell(0, 0);
    undoStack_.clear();
    newTable_ = true;
}

void TableViews::show2DTable() {
    showTable(*chart2D_, *grid2D_, state_.Table2D, &TableViews::Copy2DChartToGrid);
}

void TableViews::show3DTable() {
    showTable(*chart3D_, *grid3D_, state_.Table3D, &TableViews::Copy3DChartToGrid);
}

TimingChart* TableViews::prepareForReport() {
    const TableKind kind = selectedTable(state_);
    if (kind == TableKind::Disabled) return nullptr;
    if (!tableOpen()) {
        if (kind == TableKind::Table2D) {
            chart2D_->setTable(state_.Table2D);
            Copy2DChartToGrid();
        } else {
            ChartSetup3D();
        }
    }
    if (kind == TableKind::Table2D) return chart2D_;
    return chart3D_;
}

std::vector<std::vector<std::string>> TableViews::reportGrid() const {
    const TableKind kind = selectedTable(state_);
    if (kind == TableKind::Disabled) return {};
    const TimingGrid& grid = kind == TableKind::Table2D ? *grid2D_ : *grid3D_;
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < grid.rowCount(); ++row) {
        rows.emplace_back();
        for (int column = 0; column < grid.columnCount(); ++column)
            rows.back().push_back(grid.cellText(row, column).toStdString());
    }
    return rows;
}

void TableViews::newTable() {
    switch (selectedTable(state_)) {
        case TableKind::Table2D:
            if (hooks_.runWizard) hooks_.runWizard(TableKind::Table2D);
            return;
        case TableKind::Table3D:
            // An open 3D table keeps its data, whose edits the wizard offers to save first,
            // but takes the current sensor's labels and template.
            if (grid3D_->isVisible())
                dress3DForSensor();
            else
                ChartSetup3D();
            if (hooks_.runWizard) hooks_.runWizard(TableKind::Table3D);
            return;
        case TableKind::Disabled:
            prompts_.message(
                "Timing table disabled. Edit module parameters to enable timing table.",
                PromptIcon::Exclamation, PromptButtons::OK, "New Timing Table");
    }
}

// The pressure labels of the grid and chart and the template for the current MAP sensor. A
// template that cannot be loaded is reported, and the chart keeps the one it had; false then.
bool TableViews::dress3DForSensor() {
    const QString file = surfaceTemplateFile(state_.MAPSensorBar);
    std::array<int, kPressureRows> labels{};
    for (int y = 1; y <= kPressureRows; ++y) {
        labels[static_cast<std::size_t>(y - 1)] = pressureLabel(state_.MAPSensorBar, y);
        grid3D_->setCellText(kPressureRows + 1 - y, 0,
                             cellNumber(pressureLabel(state_.MAPSensorBar, y), "#0"));
    }
    chart3D_->setPressureLabels(labels);
    if (chart3D_->loadTemplate(templatePath(file))) return true;
    prompts_.message("Chart template file " + file.toStdString() + " not found.",
                     PromptIcon::Critical, PromptButtons::OK, kEditTitle);
    return false;
}

void TableViews::ChartSetup3D() {
    chart3D_->suspendRedraw();
    if (!dress3DForSensor()) {
        closeTable();
        chart3D_->resumeRedraw();
        return;
    }
    chart3D_->setTable(state_.Table3D);
    chart3D_->resumeRedraw();
    Copy3DChartToGrid();
    chart3D_->setValueLabelVisible(false);
}

void TableViews::Copy2DChartToGrid() {
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        grid2D_->setCellText(1, c, cellNumber(chart2D_->value(1, c), "#0.0"));
    paintHeat(*grid2D_, false);
}

void TableViews::Copy3DChartToGrid() {
    for (int y = 1; y <= kPressureRows; ++y)
        for (int c = 1; c <= kRpmBreakpoints; ++c)
            grid3D_->setCellText(kPressureRows + 1 - y, c,
                                 cellNumber(chart3D_->value(c, y), "#0.0"));
    paintHeat(*grid3D_, true);
}

void TableViews::resetCopyBuffer() {
    state_.ClipText.clear();
    state_.ClipColSpan = 0;
    state_.ClipRowSpan = 0;
    if (hooks_.disablePasteItems) hooks_.disablePasteItems();
}

// The open table's chart data goes into the working table and, encoded against the trigger
// timing of this moment, into the table bytes of the buffer; the working table then holds
// what the buffer holds, and a cell the encoding had to limit is reported. A table that
// cannot be saved (the timing table disabled, or the open table no longer of the selected
// kind) says so and stays open, so no edit is thrown away without a word.
bool TableViews::saveTable() {
    if (!tableOpen()) {
        prompts_.message("No active table to save", PromptIcon::Exclamation, PromptButtons::OK,
                         kSaveTitle);
        return false;
    }
    if (!commitPendingEdit()) return false;
    const TableKind kind = selectedTable(state_);
    EncodingLimits limits;
    if (kind == TableKind::Table2D && grid2D_->isVisible()) {
        state_.Table2D = chart2D_->table();
        limits = encodeTable2D(state_);
        decodeTable2D(state_);
    } else if (kind == TableKind::Table3D && grid3D_->isVisible()) {
        state_.Table3D = chart3D_->table();
        limits = encodeTable3D(state_);
        decodeTable3D(state_);
    } else {
        prompts_.message("Timing table disabled. Edit module parameters to enable timing table.",
                         PromptIcon::Exclamation, PromptButtons::OK, kSaveTitle);
        return false;
    }
    hideAll();
    resetCopyBuffer();
    undoStack_.clear();
    if (limits.any())
        prompts_.message(limitedCellsMessage(limits, state_.TrigTiming, kind),
                         PromptIcon::Exclamation, PromptButtons::OK, kSaveTitle);
    return true;
}

bool TableViews::commitPendingEdit() {
    for (TimingGrid* grid : {grid2D_, grid3D_})
        if (grid->isVisible() && !grid->commitOpenEditor()) return false;
    return true;
}

bool TableViews::hasUnsavedEdits() const {
    return tableOpen() && (newTable_ || !undoStack_.isClean());
}

// No drops nothing yet: the table stays on show until the command replaces it, so a command
// that then fails or is cancelled loses nothing.
bool TableViews::offerToKeepEdits() {
    if (!tableOpen()) return true;
    if (!commitPendingEdit()) return false;
    if (!hasUnsavedEdits()) return true;
    const PromptAnswer answer =
        prompts_.message("Save table edits to buffer before closing?", PromptIcon::Exclamation,
                         PromptButtons::YesNoCancel, "Close Table");
    if (answer == PromptAnswer::Cancel) return false;
    return answer == PromptAnswer::No || saveTable();
}

bool TableViews::closeTable() {
    if (tableOpen()) {
        if (!commitPendingEdit()) return false;
        const PromptAnswer answer =
            prompts_.message("Save table edits to buffer before closing?", PromptIcon::Exclamation,
                             PromptButtons::YesNoCancel, "Close Table");
        if (answer == PromptAnswer::Cancel) return false;
        if (answer == PromptAnswer::Yes && !saveTable()) return false;
    }
    hideAll();
    resetCopyBuffer();
    undoStack_.clear();
    return true;
}

}  // namespace qz
