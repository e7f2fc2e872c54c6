#pragma once

#include <cstdint>

#include "image/module_units.h"

namespace qz {

// A table cell byte is the cell's retard from the trigger timing in steps of kRetardStep:
// advance = T - 0.0879 x byte. The 2D table floors this at 0; the 3D table does not.
double decodeCell(int trigTiming, std::uint8_t byte);

// byte = (T - advance) / 0.0879, rounded half to even, then limited to 0..255.
std::uint8_t encodeCell(int trigTiming, double advance);

// Whether encoding an advance hits one of the byte's limits: an advance above the trigger
// timing is stored as the trigger timing, one more than 255 steps below it as 255 steps.
enum class CellLimit { None, AboveTrigger, BelowLowest };
CellLimit cellLimit(int trigTiming, double advance);

}  // namespace qz
