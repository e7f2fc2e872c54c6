#pragma once

#include <QString>
#include <cstdint>

#include "charts/chart_drawing.h"
#include "core/module_data.h"
#include "image/table_layout.h"

namespace qz {

// The chart template file of a table kind: "QZ_2D_Timing_Chart.oc2", or the 3D file of the
// MAP sensor (any code but 1 and 2 is the 1-bar sensor's).
QString chartTemplateFile(TableKind kind, std::uint8_t mapSensorBar);

// The chart of the working table the data selects, as opening that table shows it: its
// values, the pressure labels of its sensor, dressed by `look`. Nothing without a table.
ChartPicture workingTableChart(const ModuleData& data, const ChartTemplate& look);

}  // namespace qz
