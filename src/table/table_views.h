#pragma once

#include <QAction>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <QUndoStack>
#include <functional>
#include <optional>

#include "core/program_state.h"
#include "core/prompts.h"
#include "image/table_layout.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"
#include "table/view_layout.h"

namespace qz {

// What the table editor asks of the window it sits in.
struct TableHooks {
    std::function<void()> disablePasteItems;
    std::function<void()> formResize;          // the window's layout
    std::function<void(TableKind)> runWizard;  // the new-table wizard of a kind
    QMenu* popUpEdit2D = nullptr;              // the grids' right-click menus
    QAction* popUpPaste2D = nullptr;
    QMenu* popUpEdit3D = nullptr;
    QAction* popUpPaste3D = nullptr;
};

// The table editor: the four table views of the main window (a chart above a grid for the
// 2D table and for the 3D table), the table commands that work on them and the handlers of
// the grids. A table is open exactly while its grid is visible; there is no other flag.
// While a table is open its chart's data is the master copy of the values being edited.
class TableViews {
  public:
    TableViews(ProgramState& state, Prompts& prompts, QString programFolder, QWidget* parent,
               TableHooks hooks);

    LineChart& chart2D() { return *chart2D_; }
    SurfaceChart& chart3D() { return *chart3D_; }
    TimingGrid& grid2D() { return *grid2D_; }
    TimingGrid& grid3D() { return *grid3D_; }
    void setHooks(TableHooks hooks) { hooks_ = std::move(hooks); }

    // Start-up: load the templates (reporting a missing one with `title`), set up the grids.
    void setUpAtStartup(const QString& title);

    bool tableOpen() const;
    void hideAll();
    void hideValueLabels();

    // Places the views for an inner window area of W x H twips.
    void layOut(int innerWidth, int innerHeight, const TwipScale& scale);

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
    // table edits to buffer before closing?" (Yes saves, No drops them). False when the
    // command is to end: Cancel, a refused cell, or a table that could not be saved.
    bool offerToKeepEdits();

    // Prepares the 3D view for the current MAP sensor: template, pressure labels, data.
    void ChartSetup3D();
    bool dress3DForSensor();
    void Copy2DChartToGrid();
    void Copy3DChartToGrid();
    // Shows a working table as the open table, as opening it for editing does, without
    // loading a template (the wizards show what they made this way).
    void show2DTable();
    void show3DTable();

    // Before a report: with no table open, the chart and grid of the selected kind are filled
    // from the working table, as opening it would show them; an open table is left as it is,
    // unsaved edits included. Returns the chart to print, or none with no table selected.
    TimingChart* prepareForReport();
    // The texts of the selected kind's grid, row by row.
    std::vector<std::vector<std::string>> reportGrid() const;

    // The popup menus' commands of each grid; Ctrl+C and Ctrl+V on a grid run the first two.
    void Copy(bool is3D);
    void Paste(bool is3D);
    void Modify(bool is3D);
    // Ctrl+I: the selected block filled in from its edges.
    void Interpolate(bool is3D);

    // Every edit of the open table is one step here: typed cells, drags, the whole-table
    // offset, paste, Modify and interpolation. Cleared when a table is shown, saved or closed.
    QUndoStack& undoStack() { return undoStack_; }

    // What an edit can change: both charts' data, both grids' data texts and Table3D.
    struct Snapshot {
        Table2DCells chart2D;
        Table3DCells chart3D;
        QStringList grid2D;
        QStringList grid3D;
        Table3DCells table3D;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);

  private:
    QString templatePath(const QString& file) const;
    template <typename Chart, typename Table>
    void showTable(Chart& chart, TimingGrid& grid, const Table& table,
                   void (TableViews::*copyToGrid)());
    void resetCopyBuffer();
    void connectGrid(TimingGrid& grid, bool is3D);
    // The grid handlers.
    void Grid_BeforeRowColChange(TimingGrid& grid, int oldRow, int oldColumn);
    void Grid_AfterRowColChange(TimingGrid& grid, bool is3D, int newRow, int newColumn);
    void Grid_ValidateEdit(TimingGrid& grid, bool is3D, bool* cancel);
    void Grid_AfterEdit(TimingGrid& grid, bool is3D, int row, int column);
    void Grid_Click(bool is3D, Qt::MouseButton button, const QPoint& position);
    // The heat colour of a data cell, from the advance it shows.
    QColor cellColour(bool is3D, double advance) const;
    void paintHeat(TimingGrid& grid, bool is3D);
    void paintCell(TimingGrid& grid, bool is3D, int row, int column);
    // One undo step from `before` to the table as it stands now, when anything changed.
    void recordEdit(const Snapshot& before, const QString& what);
    // The chart handlers of the mouse editing.
    void connectCharts();
    void Chart2D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart2D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart2D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    void Chart3D1_MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart3D1_MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    void Chart3D1_MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // The selected data cells of a grid, or nothing when none is selected.
    std::optional<CellBlock> selectedData(bool is3D) const;
    // The chart of a grid, and the value behind one of its data cells.
    TimingChart& chartOf(bool is3D);
    void setChartValue(bool is3D, int row, int column, double value);
    // Writes a cell's new value into the chart and "#0.0" into the cell.
    void writeCell(bool is3D, int row, int column, double value);

    ProgramState& state_;
    Prompts& prompts_;
    // The context of the views' connections to the editor: they end with the editor, before
    // the views themselves go (an editor still open then would commit into it).
    QObject connections_;
    QString programFolder_;
    TableHooks hooks_;
    LineChart* chart2D_;
    SurfaceChart* chart3D_;
    TimingGrid* grid2D_;
    TimingGrid* grid3D_;
    QUndoStack undoStack_;
    std::optional<Snapshot> beforeEdit_;  // the table before a typed cell or a drag
    bool newTable_ = false;               // the open table was made by a wizard

    // The drag state, kept between the mouse events.
    int DragSeries = 0;
    int DragPoint = 0;
    int DragStartY = 0;
    double DragStartValue = 0;
    int DragX = 0;
    int DragY = 0;
    double ShiftOffset = 0;
    bool IgnoreNextRelease = false;
};

// What a save says when the encoding had to limit cells: how many, and the advance they
// were saved at.
std::string limitedCellsMessage(const EncodingLimits& limits, int trigTiming, TableKind kind);

// The 3D chart template for a MAP sensor code; any code but 1 and 2 is the 1-bar sensor's.
QString surfaceTemplateFile(std::uint8_t mapSensorBar);

}  // namespace qz
