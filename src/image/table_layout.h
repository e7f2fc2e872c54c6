#pragma once

#include <cstdint>

#include "core/module_data.h"

namespace qz {

// The tables' size, kRpmBreakpoints x kPressureRows, comes with the working tables from
// core/module_data.h.
inline constexpr int kTable2DFirstAddress = 16;
inline constexpr int kTable3DFirstAddress = 112;
inline constexpr int kTable3DCells = kRpmBreakpoints * kPressureRows;  // 168

// Which timing table the flags select; the 2D flag is always tested first.
enum class TableKind { Table2D, Table3D, Disabled };
TableKind selectedTable(const ParameterVariables& variables);

// Engine speed of breakpoint c (1..21): 0 to 10000 RPM in steps of 500.
int rpmBreakpoint(int column);

// Image address of 2D cell c (1..21).
int table2DAddress(int column);

// Image address of 3D cell (c, r): the lowest-pressure row r = 8 is stored first.
int table3DAddress(int column, int row);

// The 3D cell stored at offset k (0..167) of the 3D block.
struct Cell3D {
    int column;
    int row;
};
Cell3D table3DCellAt(int offset);

// Pressure label of 3D row r (1..8) for the MAP sensor code of byte 55 (see mapSensorBars).
int pressureLabel(std::uint8_t mapSensorBar, int row);

// Moves every advance of both working tables into the window a trigger timing allows:
// below 0 becomes 0, else below T - range becomes T - range, else above T becomes T. The 2D
// table's reference line becomes T.
void clampTablesToTriggerTiming(ModuleData& data, int trigTiming);

// How many cells an encoding stored at one of the byte's limits.
struct EncodingLimits {
    int aboveTrigger = 0;  // stored as the trigger timing
    int belowLowest = 0;   // stored 255 steps below it
    bool any() const { return aboveTrigger > 0 || belowLowest > 0; }
};

// Writes the working table's advances into the table bytes of the buffer with the cell
// encoding against the current trigger timing, as the table editor's save does.
EncodingLimits encodeTable2D(ModuleData& data);
EncodingLimits encodeTable3D(ModuleData& data);

// The working table from its bytes in the buffer against the current trigger timing: what
// the module holds. 2D advances below 0 are shown as 0.
void decodeTable2D(ModuleData& data);
void decodeTable3D(ModuleData& data);

}  // namespace qz
