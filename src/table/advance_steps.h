#pragma once

#include "image/table_layout.h"

namespace qz {

// How far one press of + or - moves the selected cells, in degrees: the fine step alone, the
// coarse one with Ctrl.
struct StepSizes {
    double fine = 0.5;
    double coarse = 2.0;
    bool operator==(const StepSizes&) const = default;
};

// The advance a cell holds after a step of `delta` degrees (up when positive) at the trigger
// timing of the moment: the target is kept within the span typing allows (T - R to T, and
// not below 0 in the 2D table), encoded as a save encodes it and decoded back, so the cell
// shows what the module will hold. The stored byte moves by at least one, since a step finer
// than the module's resolution would otherwise change nothing; a cell already at a limit
// stays there.
double steppedAdvance(double advance, double delta, int trigTiming, TableKind kind);

}  // namespace qz
