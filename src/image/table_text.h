#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/module_data.h"
#include "image/table_layout.h"

namespace qz {

// An advance as the table's grid, the report and the value label show it: "#0.0".
std::string advanceText(double advance);

// The header texts of a table's grid: cell (0, 0) "RPM" or "MAP/RPM", row 0 the RPM of each
// column, column 0 "ADV" or the pressure label of each row for the sensor (row 1 the lowest).
std::string headerText(TableKind kind, int row, int column, std::uint8_t mapSensorBar);

// The whole grid of the selected table as texts, rows from 0 and columns 0 to 21: what the
// grid shows of the working table, and what the report prints. Empty without a table.
std::vector<std::vector<std::string>> tableTexts(const ModuleData& data);

}  // namespace qz
