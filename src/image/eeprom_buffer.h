#pragma once

#include "core/module_data.h"

namespace qz {

// Sets all 280 bytes of the data buffer to 0 and marks it empty. The parameter variables
// and the working tables are left as they are.
void ClearEEPROMBuffer(ModuleData& data);

}  // namespace qz
