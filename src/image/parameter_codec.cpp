#include "image/parameter_codec.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/checked_convert.h"
#include "core/rounding.h"
#include "image/module_units.h"
#include "image/table_layout.h"

namespace qz {
namespace {

bool bit(std::uint8_t byte, int n) {
    return (byte >> n & 1) != 0;
}

// The GPIO3 RPM variables in the order of their bytes 81 to 90.
constexpr std::int16_t ParameterVariables::*kGpio3RpmBytes[] = {
    &ParameterVariables::GPIO3MinRPM,        &ParameterVariables::GPIO3MaxRPM,
    &ParameterVariables::GPIO3LaunchRPM,     &ParameterVariables::GPIO3ShiftRPM1,
    &ParameterVariables::GPIO3ShiftRPM2,     &ParameterVariables::GPIO3ShiftRPM3,
    &ParameterVariables::GPIO3ShiftRPM4,     &ParameterVariables::GPIO3ShiftRPM5,
    &ParameterVariables::GPIO3ShortShiftRPM, &ParameterVariables::GPIO3ShiftDropRPM,
};
constexpr const char* kGpio3RpmNames[] = {
    "GPIO3MinRPM",    "GPIO3MaxRPM",    "GPIO3LaunchRPM", "GPIO3ShiftRPM1",     "GPIO3ShiftRPM2",
    "GPIO3ShiftRPM3", "GPIO3ShiftRPM4", "GPIO3ShiftRPM5", "GPIO3ShortShiftRPM", "GPIO3ShiftDropRPM",
};
constexpr int kGpio3FirstAddress = 81;

std::int16_t clampedQuotient(std::int16_t value, double divisor, int low, int high) {
    return static_cast<std::int16_t>(std::clamp<int>(toInteger(value / divisor), low, high));
}

// An RPM as a count of `step` RPM, before the byte's rounding.
double rpmCount(std::int16_t rpm, int step) {
    return rpm / static_cast<double>(step);
}

// The tables are decoded against the trigger timing of the same image.
void decodeTables(ModuleData& d) {
    d.TrigTiming = std::min<std::int16_t>(d.EEPROMBuffer[48], 40);
    decodeTable2D(d);
    decodeTable3D(d);
}

std::uint8_t encodeFlags(const ParameterVariables& v) {
    std::uint8_t t = v.Cyl4Engine ? 1 : 0;
    if (v.Cyl6Engine) t = 2;  // six cylinders win over four
    const bool upper[] = {v.RPMLimitEnabled,         v.MultiSparkEnabled, v.TimingEnabled,
                          v.FixedMaxRPMLimitEnabled, v.Table2DEnabled,    v.Table3DEnabled};
    for (int i = 0; i < 6; ++i)
        if (upper[i]) t |= static_cast<std::uint8_t>(1 << (i + 2));
    return t;
}

}  // namespace

CodecOutcome UpdateParams(ModuleData& d, Prompts& prompts) {
    ErrorTrap trap(prompts);
    const auto& b = d.EEPROMBuffer;
    trap.run([&] {
        decodeTables(d);
        d.CrankPulses = std::clamp<std::int16_t>(b[49], 2, 12);

        d.ModuleFlags = b[50];
        d.Cyl4Engine = bit(b[50], 0);
        d.Cyl6Engine = bit(b[50], 1);
        d.RPMLimitEnabled = bit(b[50], 2);
        d.MultiSparkEnabled = bit(b[50], 3);
        d.TimingEnabled = bit(b[50], 4);
        d.FixedMaxRPMLimitEnabled = bit(b[50], 5);
        d.Table2DEnabled = bit(b[50], 6);
        d.Table3DEnabled = bit(b[50], 7);
        if (d.Table3DEnabled) d.Table2DEnabled = false;  // the 3D selection wins

        d.MaxRPMLimit = static_cast<std::int16_t>(std::clamp(b[51] * kRpmLimitStep, 3000, 10900));
        d.RetardComp = b[52];
        d.StartRetard = b[53];
        d.DataLogFlags = b[54];
        d.HighSpeedDataLog = bit(b[54], 0);
        d.MAPSensorBar = b[55];
        d.GPI1Mode = b[64];
        d.GPI1OffTPS = b[65];
        d.GPI1OnTPS = b[66];
        d.GPI1Retard = b[67];
        d.GPIO2Mode = b[72];
        d.GPIO2OneShotDelay = bit(b[72], 4);
        trap.step([&] { d.GPIO2VSSFreq = toInteger(b[73] + 256 * b[74]); }, "GPIO2VSSFreq");
        d.GPIO2BurnRPMLim =
            static_cast<std::int16_t>(std::clamp(b[75] * kRpmLimitStep, 1000, 9900));
        d.GPIO2MinRPM = static_cast<std::int16_t>(b[76] * kRpmStep);
        d.GPIO2MaxRPM = static_cast<std::int16_t>(b[77] * kRpmStep);
        d.GPIO2Delay = b[78];
        d.GPIO3Mode = b[80];
        for (int i = 0; i < 10; ++i)
            d.*kGpio3RpmBytes[i] = static_cast<std::int16_t>(b[kGpio3FirstAddress + i] * kRpmStep);
    });
    return {trap.aborted(), trap.failures()};
}

CodecOutcome UpdateEEPROM(ModuleData& d, Prompts& prompts) {
    ErrorTrap trap(prompts);
    auto& b = d.EEPROMBuffer;
    auto storeByte = [&](int address, double value, const char* name) {
        trap.step([&] { b[address] = toByte(value); }, name);
    };
    trap.run([&] {
        b[48] = static_cast<std::uint8_t>(std::clamp<std::int16_t>(d.TrigTiming, 0, 40));
        b[49] = static_cast<std::uint8_t>(std::clamp<std::int16_t>(d.CrankPulses, 2, 12));
        d.ModuleFlags = encodeFlags(d);
        b[50] = d.ModuleFlags;
        b[51] = static_cast<std::uint8_t>(clampedQuotient(d.MaxRPMLimit, kRpmLimitStep, 30, 109));
        storeByte(52, d.RetardComp, "RetardComp");
        storeByte(53, d.StartRetard, "StartRetard");
        d.DataLogFlags = d.HighSpeedDataLog ? 1 : 0;
        b[54] = d.DataLogFlags;
        b[55] = d.MAPSensorBar;
        b[64] = d.GPI1Mode;
        storeByte(65, d.GPI1OffTPS, "GPI1OffTPS");
        storeByte(66, d.GPI1OnTPS, "GPI1OnTPS");
        storeByte(67, d.GPI1Retard, "GPI1Retard");
        d.GPIO2Mode =
            static_cast<std::uint8_t>((d.GPIO2Mode & 15) + (d.GPIO2OneShotDelay ? 16 : 0));
        b[72] = d.GPIO2Mode;
        b[73] = static_cast<std::uint8_t>(d.GPIO2VSSFreq & 255);
        storeByte(74, std::floor(d.GPIO2VSSFreq / 256.0), "GPIO2VSSFreq");
        b[75] =
            static_cast<std::uint8_t>(clampedQuotient(d.GPIO2BurnRPMLim, kRpmLimitStep, 10, 99));
        storeByte(76, rpmCount(d.GPIO2MinRPM, kRpmStep), "GPIO2MinRPM");
        storeByte(77, rpmCount(d.GPIO2MaxRPM, kRpmStep), "GPIO2MaxRPM");
        storeByte(78, d.GPIO2Delay, "GPIO2Delay");
        b[80] = d.GPIO3Mode;
        for (int i = 0; i < 10; ++i)
            storeByte(kGpio3FirstAddress + i, rpmCount(d.*kGpio3RpmBytes[i], kRpmStep),
                      kGpio3RpmNames[i]);
    });
    return {trap.aborted(), trap.failures()};
}

}  // namespace qz
