#pragma once

#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "image/table_layout.h"
#include "table/timing_grid.h"

namespace qz {

// What a Modify entry asks for: a value to set, an amount to add, or a percentage to scale
// by (of the value, or added to it).
struct ModifyEntry {
    bool percent = false;
    bool relative = false;
    double amount = 0;
};

// The entry trimmed: "%" anywhere makes it a percentage, "+" anywhere (or else "-" anywhere)
// makes it relative, and the amount is the leading number once every "%" and "+" is taken
// out. So "5-" adds 5.
ModifyEntry parseModifyEntry(const std::string& entry);

// A cell's new value, limited to 0..`upper` (40 in the 2D table, 45 in the 3D table); a
// result that is not a finite number counts as none, 0.
double modifiedValue(const ModifyEntry& entry, double old, double upper);

// The seven lines of the Modify prompt, joined by CR LF.
std::string modifyPrompt();

// Clipboard text in the grid's block form: rows end in CR LF (Windows), LF (Linux and macOS)
// or CR alike, and each becomes one CR; a row end after the last row ends nothing.
QString foldLineEnds(const QString& text);

// Block text as the system clipboard carries it on this platform: LF between rows, or CR LF
// on Windows, so a spreadsheet takes the block as rows.
QString withPlatformLineEnds(const QString& blockText);

// Where a paste goes: the selection as it is when the last copy was one cell, otherwise the
// last copy's size from the selection's top left corner; in the 2D grid always row 1. Cut
// to the data cells the grid has.
CellBlock pasteTarget(const CellBlock& selection, int rowSpan, int columnSpan, int lastRow,
                      int lastColumn);

// The values of a block filled in from its edges: along the row for one row, along the
// column for one column, between the four corners for a larger block. values[r][c]. A
// result too large for a double counts as none, 0.
std::vector<std::vector<double>> interpolated(const std::vector<std::vector<double>>& values);

// Whether a block has cells between its edges along a row or a column (three or more cells
// along one of them), which interpolation and smoothing can change.
bool hasInnerCells(const CellBlock& block);

// The values of a block smoothed: along each axis of three or more cells, every cell becomes
// the 1-2-1 weighted average of itself and its two neighbours, and a cell at either end of
// such an axis keeps its value. values[r][c]; results are kept within lowest..highest.
std::vector<std::vector<double>> smoothed(const std::vector<std::vector<double>>& values,
                                          double lowest, double highest);

// Why a typed advance is refused, or nothing when it is taken: it must be a number as a
// whole within the timing range below the trigger timing; the 2D table takes no negative
// advance either.
std::optional<std::string> typedAdvanceRefusal(const std::string& text, int trigTiming, bool is3D);

// The lowest advance a cell takes from a drag or a smoothing: T - R, and not below 0 in the
// 2D table.
double lowestAdvance(int trigTiming, TableKind kind);

// A 2D point dragged from `startY` to `y` (pixels, downwards): 0.1 degree per pixel on the
// 0.2-degree grid, within the larger of T - R and 0, and T.
double dragged2D(double startValue, int startY, int y, int trigTiming);
// A 3D point dragged to the surface value z: on the 0.2-degree grid within T - R and T.
double dragged3D(double z, int trigTiming);
// The whole-table offset for a point at `current` dragged to the surface value z: on the
// 0.2-degree grid within -5 and 5.
double dragOffset(double z, double current);
// A cell moved by the offset, within T - R and T.
double shifted(double value, double offset, int trigTiming);

}  // namespace qz
