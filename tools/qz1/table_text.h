#pragma once

#include <string>

#include "core/module_data.h"

namespace qz1 {

// The timing table in use laid out as the program's grid: an RPM header row, the "ADV" row
// of the 2D table or the eight pressure rows of the 3D table (lowest pressure first), one
// decimal per cell. Split in two blocks of columns to fit a terminal. A disabled table
// gives one line saying so.
std::string timingTableText(const qz::ModuleData& data);

}  // namespace qz1
