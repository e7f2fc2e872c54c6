#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>

#include "charts/table_chart.h"
#include "image/cell_encoding.h"
#include "image/table_text.h"
#include "table/cell_text.h"
#include "table/table_editor.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz {
namespace {

constexpr auto kEditTitle = "Edit Timing Table";
constexpr auto kSaveTitle = "Save Table Edits To Buffer";
constexpr auto kDisabledMessage =
    "Timing table disabled. Edit module parameters to enable timing table.";

}  // namespace

std::string limitedCellsMessage(const EncodingLimits& limits, int trigTiming, TableKind kind) {
    auto cells = [](int n) { return std::to_string(n) + (n == 1 ? " cell" : " cells"); };
    std::string text;
    if (limits.aboveTrigger > 0)
        text += cells(limits.aboveTrigger) + " above the trigger timing " +
                std::to_string(trigTiming) + " saved at " + advanceText(decodeCell(trigTiming, 0)) +
                " degrees.";
    if (limits.belowLowest > 0) {
        double lowest = decodeCell(trigTiming, 255);
        if (kind == TableKind::Table2D) lowest = std::max(0.0, lowest);
        if (!text.empty()) text += "\n";
        text += cells(limits.belowLowest) + " below the lowest advance the module holds at " +
                "trigger timing " + std::to_string(trigTiming) + " saved at " +
                advanceText(lowest) + " degrees.";
    }
    return text;
}

void TableEditor::editTable() {
    if (!offerToKeepEdits()) return;
    state_.ClipText.clear();
    QGuiApplication::clipboard()->clear();
    hideAll();  // an open table is shown again from the working table
    if (state_.Table3DEnabled) ChartSetup3D();
    if (state_.BufferEmpty) {
        if (prompts_.message("Data buffer empty. Create new table?", PromptIcon::None,
                             PromptButtons::OKCancel, kEditTitle) == PromptAnswer::OK &&
            hooks_.runWizard)
            hooks_.runWizard(state_.Table2DEnabled ? TableKind::Table2D : TableKind::Table3D);
        return;
    }
    QCoreApplication::processEvents();
    const TableKind kind = selectedTable(state_);
    if (kind == TableKind::Disabled) return;
    const QString file2D = chartTemplateFile(TableKind::Table2D, 0);
    if (kind == TableKind::Table2D && !chart2D_->loadTemplate(templatePath(file2D))) {
        prompts_.message("Chart template file " + file2D.toStdString() + " not found.",
                         PromptIcon::Critical, PromptButtons::OK, kEditTitle);
        closeTable();
        return;
    }
    showTable(kind);
}

void TableEditor::newTable() {
    const TableKind kind = selectedTable(state_);
    if (kind == TableKind::Disabled) {
        prompts_.message(kDisabledMessage, PromptIcon::Exclamation, PromptButtons::OK,
                         "New Timing Table");
        return;
    }
    // An open 3D table keeps its data, whose edits the wizard offers to save first, but takes
    // the current sensor's labels and template.
    if (kind == TableKind::Table3D) {
        if (shows(TableKind::Table3D))
            dress3DForSensor();
        else
            ChartSetup3D();
    }
    if (hooks_.runWizard) hooks_.runWizard(kind);
}

// The pressure labels of the grid and chart and the template for the current MAP sensor. A
// template that cannot be loaded is reported, and the chart keeps the one it had; false then.
bool TableEditor::dress3DForSensor() {
    const QString file = chartTemplateFile(TableKind::Table3D, state_.MAPSensorBar);
    std::array<int, kPressureRows> labels{};
    TimingGrid& grid = *views(TableKind::Table3D).grid;
    for (int y = 1; y <= kPressureRows; ++y) {
        labels[static_cast<std::size_t>(y - 1)] = pressureLabel(state_.MAPSensorBar, y);
        const int row = kPressureRows + 1 - y;
        grid.setCellText(
            row, 0,
            QString::fromStdString(headerText(TableKind::Table3D, row, 0, state_.MAPSensorBar)));
    }
    chart3D_->setPressureLabels(labels);
    if (chart3D_->loadTemplate(templatePath(file))) return true;
    prompts_.message("Chart template file " + file.toStdString() + " not found.",
                     PromptIcon::Critical, PromptButtons::OK, kEditTitle);
    return false;
}

void TableEditor::ChartSetup3D() {
    chart3D_->suspendRedraw();
    if (!dress3DForSensor()) {
        closeTable();
        chart3D_->resumeRedraw();
        return;
    }
    chart3D_->takeTable(state_);
    chart3D_->resumeRedraw();
    Copy3DChartToGrid();
    chart3D_->setValueLabelVisible(false);
}

// The open table's chart as it is drawn; with none open, the working table as opening it
// would show it.
ChartPicture TableEditor::chartOnShow() const {
    const TableKind kind = selectedTable(state_);
    if (kind == TableKind::Disabled) return {};
    if (shows(kind)) return views(kind).chart->picture();
    const TimingChart& chart = *views(kind).chart;
    const auto look =
        loadChartTemplate(templatePath(chartTemplateFile(kind, state_.MAPSensorBar)),
                          kind == TableKind::Table2D ? ChartKind::Line2D : ChartKind::Surface3D);
    return workingTableChart(state_, look.value_or(chart.look()));
}

void TableEditor::resetCopyBuffer() {
    state_.ClipText.clear();
    state_.ClipColSpan = 0;
    state_.ClipRowSpan = 0;
    if (!hooks_.setPasteEnabled) return;
    hooks_.setPasteEnabled(TableKind::Table2D, false);
    hooks_.setPasteEnabled(TableKind::Table3D, false);
}

// The open table's chart data goes into the working table and, encoded against the trigger
// timing of this moment, into the table bytes of the buffer; the working table then holds
// what the buffer holds, and a cell the encoding had to limit is reported. A table that
// cannot be saved (the timing table disabled, or the open table no longer of the selected
// kind) says so and stays open, so no edit is thrown away without a word.
bool TableEditor::saveTable() {
    const auto open = openKind();
    if (!open) {
        prompts_.message("No active table to save", PromptIcon::Exclamation, PromptButtons::OK,
                         kSaveTitle);
        return false;
    }
    if (!commitPendingEdit()) return false;
    const TableKind kind = selectedTable(state_);
    if (kind != *open) {
        prompts_.message(kDisabledMessage, PromptIcon::Exclamation, PromptButtons::OK, kSaveTitle);
        return false;
    }
    views(kind).chart->giveTable(state_);
    const EncodingLimits limits =
        kind == TableKind::Table2D ? encodeTable2D(state_) : encodeTable3D(state_);
    if (kind == TableKind::Table2D)
        decodeTable2D(state_);
    else
        decodeTable3D(state_);
    hideAll();
    resetCopyBuffer();
    undoStack_.clear();
    if (limits.any())
        prompts_.message(limitedCellsMessage(limits, state_.TrigTiming, kind),
                         PromptIcon::Exclamation, PromptButtons::OK, kSaveTitle);
    return true;
}

bool TableEditor::commitPendingEdit() {
    const auto kind = openKind();
    return !kind || views(*kind).grid->commitOpenEditor();
}

bool TableEditor::hasUnsavedEdits() const {
    return tableOpen() && (newTable_ || !undoStack_.isClean());
}

// No drops nothing yet: the table stays on show until the command replaces it, so a command
// that then fails or is cancelled loses nothing.
bool TableEditor::offerToKeepEdits() {
    if (!tableOpen()) return true;
    if (!commitPendingEdit()) return false;
    if (!hasUnsavedEdits()) return true;
    const PromptAnswer answer =
        prompts_.message("Save table edits to buffer before closing?", PromptIcon::Exclamation,
                         PromptButtons::YesNoCancel, "Close Table");
    if (answer == PromptAnswer::Cancel) return false;
    return answer == PromptAnswer::No || saveTable();
}

bool TableEditor::closeTable() {
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
