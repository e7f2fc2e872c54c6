#include "image/table_text.h"

#include "core/number_text.h"

namespace qz {

std::string advanceText(double advance) {
    return formatNumber(advance, "#0.0");
}

std::string headerText(TableKind kind, int row, int column, std::uint8_t mapSensorBar) {
    const bool is3D = kind == TableKind::Table3D;
    if (row == 0 && column == 0) return is3D ? "MAP/RPM" : "RPM";
    if (row == 0) return formatNumber(rpmBreakpoint(column), "#0");
    if (!is3D) return "ADV";
    return formatNumber(pressureLabel(mapSensorBar, kPressureRows + 1 - row), "#0");
}

std::vector<std::vector<std::string>> tableTexts(const ModuleData& data) {
    const TableKind kind = selectedTable(data);
    if (kind == TableKind::Disabled) return {};
    const int rows = kind == TableKind::Table3D ? kPressureRows : 1;
    std::vector<std::vector<std::string>> texts;
    for (int row = 0; row <= rows; ++row) {
        texts.emplace_back();
        for (int column = 0; column <= kRpmBreakpoints; ++column) {
            if (row == 0 || column == 0) {
                texts.back().push_back(headerText(kind, row, column, data.MAPSensorBar));
                continue;
            }
            texts.back().push_back(advanceText(kind == TableKind::Table3D
                                                   ? data.Table3D(column, kPressureRows + 1 - row)
                                                   : data.Table2D(column, 1)));
        }
    }
    return texts;
}

}  // namespace qz
