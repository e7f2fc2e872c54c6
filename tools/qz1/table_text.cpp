#include "qz1/table_text.h"

#include <cstdio>
#include <string_view>
#include <vector>

#include "core/number_text.h"
#include "image/module_names.h"
#include "image/table_layout.h"

namespace qz1 {
namespace {

constexpr int kCellWidth = 7;
constexpr int kFirstBlockEnd = 11;  // columns 1..11 (0 to 5000 RPM), then 12..21

std::string cell(std::string_view text) {
    std::string padded(text);
    if (padded.size() < kCellWidth) padded.insert(0, kCellWidth - padded.size(), ' ');
    return padded;
}

struct GridRow {
    std::string label;
    std::vector<double> advances;  // 21 values, column 1 first
};

void appendBlock(std::string& out, std::string_view corner, const std::vector<GridRow>& rows,
                 int firstColumn, int lastColumn) {
    out += cell(corner);
    for (int c = firstColumn; c <= lastColumn; ++c)
        out += cell(qz::formatNumber(qz::rpmBreakpoint(c), "#0"));
    out += '\n';
    for (const auto& row : rows) {
        out += cell(row.label);
        for (int c = firstColumn; c <= lastColumn; ++c)
            out += cell(qz::formatNumber(row.advances[static_cast<std::size_t>(c - 1)], "#0.0"));
        out += '\n';
    }
}

std::string grid(std::string_view corner, const std::vector<GridRow>& rows) {
    std::string out;
    appendBlock(out, corner, rows, 1, kFirstBlockEnd);
    out += '\n';
    appendBlock(out, corner, rows, kFirstBlockEnd + 1, qz::kRpmBreakpoints);
    return out;
}

}  // namespace

std::string timingTableText(const qz::ModuleData& data) {
    const qz::TableKind kind = qz::selectedTable(data);
    if (kind == qz::TableKind::Table2D) {
        GridRow advance{"ADV", {}};
        for (int c = 1; c <= qz::kRpmBreakpoints; ++c)
            advance.advances.push_back(data.Table2D(c, 1));
        return "Timing table: 2D (advance in deg)\n" + grid("RPM", {advance});
    }
    if (kind == qz::TableKind::Table3D) {
        std::vector<GridRow> rows;
        for (int gridRow = 1; gridRow <= qz::kPressureRows; ++gridRow) {
            const int r = qz::kPressureRows + 1 - gridRow;
            GridRow row{qz::formatNumber(qz::pressureLabel(data.MAPSensorBar, r), "#0"), {}};
            for (int c = 1; c <= qz::kRpmBreakpoints; ++c)
                row.advances.push_back(data.Table3D(c, r));
            rows.push_back(row);
        }
        return "Timing table: 3D, " + qz::mapSensorName(data.MAPSensorBar) +
               " MAP sensor (advance in deg)\n" + grid("MAP/RPM", rows);
    }
    return "Timing table: disabled\n";
}

}  // namespace qz1
