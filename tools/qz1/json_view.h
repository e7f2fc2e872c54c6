#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "core/module_data.h"

namespace qz1 {

// Every parameter variable under its own name, in image order, then "Table2D" (the 21
// advances of column 1) and "Table3D" (8 arrays for r = 1..8, r = 1 carrying the highest
// pressure label, each with the 21 advances for c = 1..21). Doubles are written so that
// reading them back gives the same bits. A variable named in `undecodable` could not be
// decoded and is null: no value is made up for it.
nlohmann::ordered_json tuneToJson(const qz::ModuleData& data,
                                  const std::vector<std::string>& undecodable = {});

}  // namespace qz1
