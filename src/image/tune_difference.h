#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/module_data.h"
#include "image/table_layout.h"

namespace qz {

// A timing table cell whose decoded advance differs between two tunes.
struct CellDifference {
    TableKind kind;  // Table2D or Table3D
    int column;      // 1..21
    int row;         // 1 for the 2D table, 1..8 for the 3D table
    double here;
    double there;
    double change() const { return there - here; }
};

// What differs between two decoded tunes ("here" and "there"): the parameters in the
// order of the report's parameter page (see parameterWords), every cell of both tables,
// and the bytes the program carries without interpreting them.
struct TuneDifference {
    std::vector<std::string_view> parameters;  // variable names
    std::vector<CellDifference> cells;         // 2D cells first, then 3D row 8 up to row 1
    std::vector<int> carriedBytes;             // addresses
    // When nothing decoded differs: the bytes that differ all the same (a 2D cell below 0
    // degrees either way, for instance).
    std::vector<int> alikeBytes;

    bool identical() const {
        return parameters.empty() && cells.empty() && carriedBytes.empty() && alikeBytes.empty();
    }
    // Whether the two select different timing tables.
    bool tableKindDiffers = false;
    // The cell differences of one table.
    std::vector<CellDifference> cellsOf(TableKind kind) const;
};

// Compares two decoded tunes. A flag byte is listed only when no flag of its own differs.
TuneDifference compareTunes(const ModuleData& here, const ModuleData& there);

// An image decoded as Open File decodes it, a decoding failure passed over as Ignore
// would: the tune the image holds.
ModuleData decodedImage(const EepromBytes& image);

// A change of advance as the comparison shows it: one decimal, a plus sign when it grew.
std::string signedAdvanceText(double change);

// The one-line summary: "12 cells (largest +2.5 at 3500 RPM, 60 kPa), 2 parameters differ",
// or "Identical". Pressures are named with here's sensor.
std::string differenceSummary(const TuneDifference& difference, const ModuleData& here);

// A differing parameter in the program's words and units, as the compare window lists it:
// "Trigger Signal Timing (Deg): 30.0 here, 28.0 there".
std::string parameterDifferenceText(std::string_view variable, const ParameterVariables& here,
                                    const ParameterVariables& there);

// How much differs, in short: "12 cells, 2 parameters", or "same".
std::string differenceCounts(const TuneDifference& difference);

}  // namespace qz
