#pragma once

#include <array>
#include <cassert>
#include <cstdint>

namespace qz {

// The module's EEPROM as the program keeps it: 280 bytes indexed by EEPROM address. The
// image proper is addresses 16 to 279; addresses 0 to 15 are never transferred and stay 0.
inline constexpr int kEepromSize = 280;
inline constexpr int kImageFirstAddress = 16;
inline constexpr int kImageLastAddress = 279;
inline constexpr int kImageSize = kImageLastAddress - kImageFirstAddress + 1;  // 264

using EepromBytes = std::array<std::uint8_t, kEepromSize>;

// A working timing table of doubles with the program's 1-based indices: (column, row).
template <int Columns, int Rows>
class TimingTable {
  public:
    static constexpr int kColumns = Columns;
    static constexpr int kRows = Rows;

    double& operator()(int column, int row) { return cells_[index(column, row)]; }
    double operator()(int column, int row) const { return cells_[index(column, row)]; }
    bool operator==(const TimingTable&) const = default;

  private:
    static std::size_t index(int column, int row) {
        assert(column >= 1 && column <= Columns && row >= 1 && row <= Rows);
        return static_cast<std::size_t>((column - 1) * Rows + (row - 1));
    }
    std::array<double, static_cast<std::size_t>(Columns* Rows)> cells_{};
};

// The module's timing tables: 21 RPM breakpoints, and 8 manifold pressure rows in the 3D
// table. image/table_layout.h lays them out in the image.
inline constexpr int kRpmBreakpoints = 21;
inline constexpr int kPressureRows = 8;

// Table2D(c, 1): advance at breakpoint c; Table2D(c, 2): the trigger timing, the chart's
// reference line. Table3D(c, r): advance at breakpoint c, pressure row r (r = 1 highest).
using Table2DCells = TimingTable<kRpmBreakpoints, 2>;
using Table3DCells = TimingTable<kRpmBreakpoints, kPressureRows>;

inline constexpr std::int16_t kTimingRange = 22;

// The module and input/output parameters, named as everywhere in the program, with the
// values in force before any image is loaded. Integer variables are 16-bit like the module
// program's, so the codec's overflow checks see what the module would.
struct ParameterVariables {
    std::int16_t TrigTiming = 30;
    std::int16_t CrankPulses = 2;
    std::uint8_t ModuleFlags = 28;
    bool Cyl4Engine = false;
    bool Cyl6Engine = false;
    bool RPMLimitEnabled = true;
    bool MultiSparkEnabled = true;
    bool TimingEnabled = true;
    bool FixedMaxRPMLimitEnabled = false;
    bool Table2DEnabled = false;
    bool Table3DEnabled = false;
    std::int16_t MaxRPMLimit = 3000;
    std::int16_t RetardComp = 0;
    std::int16_t StartRetard = 0;
    std::uint8_t DataLogFlags = 0;
    bool HighSpeedDataLog = false;
    std::uint8_t MAPSensorBar = 0;
    std::uint8_t GPI1Mode = 0;
    std::int16_t GPI1OffTPS = 204;
    std::int16_t GPI1OnTPS = 214;
    std::int16_t GPI1Retard = 0;
    std::uint8_t GPIO2Mode = 0;
    bool GPIO2OneShotDelay = false;
    std::int16_t GPIO2VSSFreq = 150;
    std::int16_t GPIO2BurnRPMLim = 3000;
    std::int16_t GPIO2MinRPM = 3000;
    std::int16_t GPIO2MaxRPM = 6000;
    std::int16_t GPIO2Delay = 0;
    std::uint8_t GPIO3Mode = 0;
    std::int16_t GPIO3MinRPM = 3000;
    std::int16_t GPIO3MaxRPM = 6000;
    std::int16_t GPIO3LaunchRPM = 3000;
    std::int16_t GPIO3ShiftRPM1 = 5000;
    std::int16_t GPIO3ShiftRPM2 = 5000;
    std::int16_t GPIO3ShiftRPM3 = 5000;
    std::int16_t GPIO3ShiftRPM4 = 5000;
    std::int16_t GPIO3ShiftRPM5 = 5000;
    std::int16_t GPIO3ShortShiftRPM = 500;
    std::int16_t GPIO3ShiftDropRPM = 500;

    bool operator==(const ParameterVariables&) const = default;
};

// The module data the program shares: the data buffer, whether it holds an image, the
// working tables and the parameter variables. The command-line tool uses it on its own;
// the program holds it inside ProgramState.
struct ModuleData : ParameterVariables {
    EepromBytes EEPROMBuffer{};
    bool BufferEmpty = true;
    Table2DCells Table2D;
    Table3DCells Table3D;
    static constexpr std::int16_t TimingRange = kTimingRange;
};

}  // namespace qz
