#pragma once

#include <QString>
#include <functional>

#include "core/program_state.h"
#include "core/prompts.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"
#include "table/view_layout.h"

namespace qz {

// The four table views of the main window (a chart above a grid for the 2D table and for
// the 3D table) and the table commands that work on them. A table is open exactly while
// its grid is visible; there is no other flag.
class TableViews {
  public:
    TableViews(ProgramState& state, Prompts& prompts, QString programFolder, QWidget* parent,
               std::function<void()> disablePasteItems);

    LineChart& chart2D() { return *chart2D_; }
    SurfaceChart& chart3D() { return *chart3D_; }
    TimingGrid& grid2D() { return *grid2D_; }
    TimingGrid& grid3D() { return *grid3D_; }

    // Start-up: load the templates (reporting a missing one with `title`), set up the grids.
    void setUpAtStartup(const QString& title);

    bool tableOpen() const;
    void hideAll();
    void hideValueLabels();

    // Places the views for an inner window area of W x H twips.
    void layOut(int innerWidth, int innerHeight, const TwipScale& scale);

    // Prepares the 3D view for the current MAP sensor: template, pressure labels, data.
    void chartSetup3D();
    void copy3DChartToGrid();

    // "Save Timing Table Edits To Buffer" and "Close Timing Table".
    void saveTable();
    void closeTable();

  private:
    QString templatePath(const QString& file) const;
    void resetCopyBuffer();

    ProgramState& state_;
    Prompts& prompts_;
    QString programFolder_;
    std::function<void()> disablePasteItems_;
    LineChart* chart2D_;
    SurfaceChart* chart3D_;
    TimingGrid* grid2D_;
    TimingGrid* grid3D_;
};

// The 3D chart template for a MAP sensor code; any code but 1 and 2 is the 1-bar sensor's.
QString surfaceTemplateFile(std::uint8_t mapSensorBar);

}  // namespace qz
