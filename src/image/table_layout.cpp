#include "image/table_layout.h"

#include "image/cell_encoding.h"
#include "image/module_names.h"

#include <algorithm>

namespace qz {

TableKind selectedTable(const ParameterVariables& variables) {
    if (variables.Table2DEnabled) return TableKind::Table2D;
    if (variables.Table3DEnabled) return TableKind::Table3D;
    return TableKind::Disabled;
}

int rpmBreakpoint(int column) {
    return (column - 1) * 500;
}

int table2DAddress(int column) {
    return kTable2DFirstAddress - 1 + column;
}

int table3DAddress(int column, int row) {
    return kTable3DFirstAddress + kRpmBreakpoints * (kPressureRows - row) + (column - 1);
}

Cell3D table3DCellAt(int offset) {
    return {offset % kRpmBreakpoints + 1, kPressureRows - offset / kRpmBreakpoints};
}

int pressureLabel(std::uint8_t mapSensorBar, int row) {
    switch (mapSensorBars(mapSensorBar)) {
        case 2:
            return (11 - row) * 6;
        case 3:
            return (10 - row) * 10;
        default:
            return (16 - row) * 2;
    }
}

void clampTablesToTriggerTiming(ModuleData& data, int trigTiming) {
    const double low = trigTiming - ModuleData::TimingRange;
    // The tests run in this order, so a negative advance ends at 0 even when T - range is
    // below 0.
    auto clamp = [&](double& advance) {
        if (advance < 0)
            advance = 0;
        else if (advance < low)
            advance = low;
        else if (advance > trigTiming)
            advance = trigTiming;
    };
    for (int c = 1; c <= kRpmBreakpoints; ++c) {
        clamp(data.Table2D(c, 1));
        data.Table2D(c, 2) = trigTiming;
    }
    for (int k = 0; k < kTable3DCells; ++k) {
        const Cell3D cell = table3DCellAt(k);
        clamp(data.Table3D(cell.column, cell.row));
    }
}

namespace {

std::uint8_t encodeCounted(int trigTiming, double advance, EncodingLimits& limits) {
    switch (cellLimit(trigTiming, advance)) {
        case CellLimit::AboveTrigger:
            ++limits.aboveTrigger;
            break;
        case CellLimit::BelowLowest:
            ++limits.belowLowest;
            break;
        case CellLimit::None:
            break;
    }
    return encodeCell(trigTiming, advance);
}

}  // namespace

EncodingLimits encodeTable2D(ModuleData& data) {
    EncodingLimits limits;
    for (int c = 1; c <= kRpmBreakpoints; ++c)
        data.EEPROMBuffer[table2DAddress(c)] =
            encodeCounted(data.TrigTiming, data.Table2D(c, 1), limits);
    return limits;
}

EncodingLimits encodeTable3D(ModuleData& data) {
    EncodingLimits limits;
    for (int k = 0; k < kTable3DCells; ++k) {
        const Cell3D cell = table3DCellAt(k);
        data.EEPROMBuffer[kTable3DFirstAddress + k] =
            encodeCounted(data.TrigTiming, data.Table3D(cell.column, cell.row), limits);
    }
    return limits;
}

void decodeTable2D(ModuleData& data) {
    for (int c = 1; c <= kRpmBreakpoints; ++c) {
        data.Table2D(c, 1) =
            std::max(0.0, decodeCell(data.TrigTiming, data.EEPROMBuffer[table2DAddress(c)]));
        data.Table2D(c, 2) = data.TrigTiming;
    }
}

void decodeTable3D(ModuleData& data) {
    for (int k = 0; k < kTable3DCells; ++k) {
        const Cell3D cell = table3DCellAt(k);
        data.Table3D(cell.column, cell.row) =
            decodeCell(data.TrigTiming, data.EEPROMBuffer[kTable3DFirstAddress + k]);
    }
}

}  // namespace qz
