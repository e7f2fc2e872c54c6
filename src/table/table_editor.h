#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <QUndoStack>
#include <array>
#include <functional>
#include <optional>

#include "charts/chart_drawing.h"
#include "core/program_state.h"
#include "core/prompts.h"
#include "image/table_layout.h"
#include "table/advance_steps.h"
#include "table/block_edits.h"
#include "table/drag_state.h"
#include "table/view_layout.h"

class QAction;
class QWidget;

namespace qz {

class TimingChart;
class TimingGrid;
class LineChart;
class SurfaceChart;

// What the table editor asks of the window it sits in.
struct TableHooks {
    std::function<void(TableKind, bool)> setPasteEnabled;    // a grid's right-click Paste item
    std::function<void(TableKind, QPoint)> showContextMenu;  // a grid's right-click menu
    std::function<void()> formResize;                        // the window's layout
    std::function<void(TableKind)> runWizard;                // the new-table wizard of a kind
};

// The table editor: for each kind of table (2D, 3D) a chart above a grid on the main
// window, the table commands that work on them, and the handlers of grids and charts. A
// table is open exactly while its grid is visible; there is no other flag. While a table is
// open its chart's data is the master copy of the values being edited. The editor hands out
// none of its widgets: they carry the program's control names for whoever must find them.
class TableEditor {
  public:
    TableEditor(ProgramState& state, Prompts& prompts, QString programFolder, QWidget* parent,
                TableHooks hooks);
    ~TableEditor();

    // Start-up: the templates loaded (a missing one reported with `title`), the grids set up.
    void setUpAtStartup(const QString& title);
    // Places the views for an inner window area of W x H twips.
    void layOut(int innerWidth, int innerHeight, const TwipScale& scale);

    bool tableOpen() const;
    std::optional<TableKind> openKind() const;
    // While a transfer runs the grids take no input.
    void setEnabled(bool enabled);
    void hideValueLabels();

    // "Edit Timing Table": the working table of the selected kind, opened for editing.
    void editTable();
    // "New Timing Table": the wizard of the selected kind.
    void newTable();
    // "Save Timing Table Edits To Buffer"; false when nothing could be saved.
    bool saveTable();
    // "Close Timing Table", asking about an open table; false when it stays open.
    bool closeTable();
    // Commits a cell being typed in, as Enter would; false when its text is refused.
    bool commitPendingEdit();
    // Whether the open table holds edits not saved to the buffer: any step of undo since it
    // was shown, or the whole table when a wizard made it.
    bool hasUnsavedEdits() const;
    // Before a command that would drop the open table: when it has unsaved edits, "Save
    // table edits to buffer before closing?" (Yes saves, No drops them when the command
    // replaces the table). False when the command is to end: Cancel, a refused cell, or a
    // table that could not be saved.
    bool offerToKeepEdits();

    // A new image is in the buffer: the views are closed, and the 3D view set up for its
    // sensor when it selects the 3D table.
    void imageReplaced();
    // Prepares the 3D view for the current MAP sensor: template, pressure labels, data.
    void ChartSetup3D();

    // For the wizards: whether a kind's table is on show, hiding it, and showing the working
    // table of a kind as the open table, which a wizard made (it counts as unsaved).
    bool shows(TableKind kind) const;
    void hide(TableKind kind);
    void showNewTable(TableKind kind);

    // For the report: the working tables with the open table's values in them (unsaved edits
    // included), and the chart of the selected kind as it is drawn, without a value label.
    ModuleData tablesOnShow() const;
    ChartPicture chartOnShow() const;

    // The grids' right-click commands; Ctrl+C and Ctrl+V on a grid run the first two.
    void Copy(TableKind kind);
    void Paste(TableKind kind);
    void Modify(TableKind kind);
    void Interpolate(TableKind kind);
    // The selected block smoothed, 1-2-1 along each axis of three or more cells.
    void Smooth(TableKind kind);
    // Every selected cell of the open table one step up or down (fine, or coarse), to the
    // value the module will hold for it; a run of steps on one selection is one undo step.
    void Step(bool up, bool coarse);
    void setStepSizes(const StepSizes& sizes) { stepSizes_ = sizes; }
    const StepSizes& stepSizes() const { return stepSizes_; }

    // The keyboard's commands on the open table, each with its shortcut and enabled only
    // while it can act; their keys work wherever the focus is in the window while a table
    // is open. For the window's menus.
    struct Actions {
        QAction* undo;
        QAction* redo;
        QAction* stepUp;
        QAction* stepDown;
        QAction* stepUpCoarse;
        QAction* stepDownCoarse;
        QAction* interpolate;
        QAction* smooth;
    };
    const Actions& actions() const { return actions_; }

    // Advances taken from elsewhere (the compare window) into cells of the open table of
    // `kind`, as one undo step: (column 1..21, table row) and the value.
    struct CellValue {
        int column;
        int row;  // 1 for the 2D table; the 3D table's own row, 1..8
        double advance;
    };
    void writeCells(TableKind kind, const std::vector<CellValue>& cells, const QString& what);

    // Every edit of the open table is one step here: typed cells, drags, the whole-table
    // offset, paste, Modify, interpolation, smoothing and a run of steps. Cleared when a table is
    // shown, saved or closed; the newest thousand steps are kept.
    QUndoStack& undoStack() { return undoStack_; }

    // What an edit can change: both charts' data, both grids' data texts and Table3D.
    struct Snapshot {
        Table2DCells chart2D;
        Table3DCells chart3D;
        std::vector<QString> grid2D;
        std::vector<QString> grid3D;
        Table3DCells table3D;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);

  private:
    // The chart and grid of one kind of table.
    struct KindViews {
        TimingChart* chart;
        TimingGrid* grid;
    };
    KindViews& views(TableKind kind) { return views_[kind == TableKind::Table3D]; }
    const KindViews& views(TableKind kind) const { return views_[kind == TableKind::Table3D]; }

    QString templatePath(const QString& file) const;
    bool dress3DForSensor();
    void showTable(TableKind kind);
    void Copy2DChartToGrid() { copyChartToGrid(TableKind::Table2D); }
    void Copy3DChartToGrid() { copyChartToGrid(TableKind::Table3D); }
    void copyChartToGrid(TableKind kind);
    void resetCopyBuffer();
    void hideAll();

    // The grid handlers.
    void connectGrid(TableKind kind);
    void Grid_BeforeRowColChange(TableKind kind, int oldRow, int oldColumn);
    void Grid_AfterRowColChange(TableKind kind, int newRow, int newColumn);
    void Grid_ValidateEdit(TableKind kind, bool* cancel);
    void Grid_AfterEdit(TableKind kind, int row, int column);
    void Grid_Click(TableKind kind, Qt::MouseButton button, const QPoint& position);
    // The heat colour of a data cell, and a cell painted with it (the current cell keeps its
    // highlight).
    QColor cellColour(TableKind kind, double advance) const;
    void paintCell(TableKind kind, int row, int column);
    void paintHeat(TableKind kind);
    // Writes a cell's new value into the chart and "#0.0" into the cell.
    void writeCell(TableKind kind, int row, int column, double value);

    // The chart handlers of the mouse editing.
    void connectCharts();
    void Chart2D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart2D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart2D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Chart3D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart3D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart3D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);

    // The selected data cells of a grid, or nothing when none is selected.
    std::optional<CellBlock> selectedData(TableKind kind) const;
    // Every block edit (paste, Modify, interpolation, smoothing, steps) is one step: the table
    // before it kept, the value label hidden, `write` into chart and grid with one redraw, one
    // undo step. A step keeps the label on the current cell and joins the undo step of the
    // run of steps it belongs to.
    void blockEdit(TableKind kind, const QString& what, const std::function<void()>& write,
                   std::optional<int> stepRun = std::nullopt);
    // A block's values row by row, as its cells read or as the chart holds them, and new ones
    // written into its chart and grid.
    using BlockValues = std::vector<std::vector<double>>;
    // The grid's texts as numbers, or the chart's unrounded values.
    enum class ValueSource { Grid, Chart };
    BlockValues blockValues(TableKind kind, const CellBlock& block,
                            ValueSource source = ValueSource::Grid) const;
    void writeBlock(TableKind kind, const CellBlock& block, const BlockValues& values);
    // One undo step from `before` to the table as it stands now, when anything changed; a
    // step of a run joins the step before it when that is of the same run.
    void recordEdit(const Snapshot& before, const QString& what,
                    std::optional<int> stepRun = std::nullopt);
    // The 3D grid's selected block and current cell outlined on the surface.
    void outlineSelection();
    // The value label on the current data cell of a grid, showing its value.
    void showValueLabel(TableKind kind, int row, int column);
    // A cell typed and confirmed with Ctrl+Enter written into every other selected cell.
    void fillSelection(TableKind kind, int row, int column);

    // The keyboard's commands: made once, enabled by what the open table's selection and
    // undo stack allow.
    void createActions(QWidget* parent);
    void updateActions();
    // A new run of steps begins: the selection moved, another edit, an undo or a redo.
    void endStepRun() { ++stepRun_; }

    ProgramState& state_;
    Prompts& prompts_;
    // The context of the views' connections to the editor: they end with the editor, before
    // the views themselves go (an editor still open then would commit into it).
    QObject connections_;
    QString programFolder_;
    TableHooks hooks_;
    LineChart* chart2D_;
    SurfaceChart* chart3D_;
    std::array<KindViews, 2> views_;
    QUndoStack undoStack_;
    std::optional<Snapshot> beforeEdit_;  // the table before a typed cell or a drag
    bool newTable_ = false;               // the open table was made by a wizard
    DragState drag_;
    StepSizes stepSizes_;
    int stepRun_ = 0;  // the run of steps the next step belongs to
    Actions actions_{};
};

// What a save says when the encoding had to limit cells: how many, and the advance they
// were saved at.
std::string limitedCellsMessage(const EncodingLimits& limits, int trigTiming, TableKind kind);

}  // namespace qz
