#include "image/parameter_words.h"

#include <array>
#include <cstdio>

#include "core/number_text.h"
#include "core/rounding.h"
#include "image/module_names.h"
#include "image/module_units.h"

namespace qz {

std::string retardDegreesText(int steps) {
    return formatNumber(roundHalfEven(retardDegrees(steps)), "#0");
}
std::string retardCompensationText(int steps) {
    return formatNumber(roundHalfEven(retardDegrees(steps) * 2) / 2, "#0.0");
}
std::string voltsText(int counts) {
    return formatNumber(roundHalfEven(tpsVolts(counts), 1), "0.0");
}
std::string rpmText(int rpm) {
    return formatNumber(rpm, "####0");
}
std::string nosDelayText(int steps) {
    return formatNumber(roundHalfEven(nosDelaySeconds(steps) * 20) / 20, "0.00");
}
std::string truthText(bool value) {
    return value ? "True" : "False";
}

namespace {

std::string hexByte(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// V, not P: a unity build compiles this file beside parameter_catalog.cpp, whose P differs.
using V = const ParameterVariables&;

const std::array<ParameterWords, 39> kWords = {{
    {"RPMLimitEnabled", "RPM Limit Disabled", [](V p) { return truthText(!p.RPMLimitEnabled); }},
    {"MultiSparkEnabled", "Multi-Spark Disabled",
     [](V p) { return truthText(!p.MultiSparkEnabled); }},
    {"TimingEnabled", "Timing Functions Disabled", [](V p) { return truthText(!p.TimingEnabled); }},
    {"FixedMaxRPMLimitEnabled", "Fixed Maximum RPM Limit Enabled",
     [](V p) { return truthText(p.FixedMaxRPMLimitEnabled); }},
    {"MaxRPMLimit", "Fixed Maximum RPM Limit",
     [](V p) { return formatNumber(p.MaxRPMLimit, "##00"); }},
    {"Cyl6Engine", "6 Cylinder Engine", [](V p) { return truthText(p.Cyl6Engine); }},
    {"Cyl4Engine", "4 Cylinder Engine", [](V p) { return truthText(p.Cyl4Engine); }},
    {"StartRetard", "Start Retard (Deg)", [](V p) { return retardDegreesText(p.StartRetard); }},
    {"HighSpeedDataLog", "High Speed Data Logging Enabled",
     [](V p) { return truthText(p.HighSpeedDataLog); }},
    {"CrankPulses", "Cranking Pulses", [](V p) { return plainNumber(p.CrankPulses); }},
    {"RetardComp", "Retard Compensation (Deg)",
     [](V p) { return retardCompensationText(p.RetardComp); }},
    {"Table2DEnabled", "2D Timing Table Enabled", [](V p) { return truthText(p.Table2DEnabled); }},
    {"Table3DEnabled", "3D Timing Table Enabled", [](V p) { return truthText(p.Table3DEnabled); }},
    {"MAPSensorBar", "MAP Sensor", [](V p) { return mapSensorName(p.MAPSensorBar); }},
    {"TrigTiming", "Trigger Signal Timing (Deg)",
     [](V p) { return formatNumber(p.TrigTiming, "#0.0"); }},
    {"GPI1Mode", "GPI1 Function",
     [](V p) { return std::string(selectedFunction(GpioLine::GPI1, p.GPI1Mode).printedName()); }},
    {"GPI1OffTPS", "GPI1 TPS Off Volts", [](V p) { return voltsText(p.GPI1OffTPS); }},
    {"GPI1OnTPS", "GPI1 TPS On Volts", [](V p) { return voltsText(p.GPI1OnTPS); }},
    {"GPI1Retard", "GPI1 Retard (Deg)", [](V p) { return retardDegreesText(p.GPI1Retard); }},
    {"GPIO2Mode", "GPIO2 Function",
     [](V p) { return std::string(selectedFunction(GpioLine::GPIO2, p.GPIO2Mode).printedName()); }},
    {"GPIO2VSSFreq", "GPIO2 VSS Frequency",
     [](V p) { return formatNumber(p.GPIO2VSSFreq, "###0"); }},
    {"GPIO2BurnRPMLim", "GPIO2 Burnout RPM Limit", [](V p) { return rpmText(p.GPIO2BurnRPMLim); }},
    {"GPIO2MinRPM", "GPIO2 Minimum RPM", [](V p) { return rpmText(p.GPIO2MinRPM); }},
    {"GPIO2MaxRPM", "GPIO2 Maximum RPM", [](V p) { return rpmText(p.GPIO2MaxRPM); }},
    {"GPIO2Delay", "GPIO2 NOS Delay (Sec)", [](V p) { return nosDelayText(p.GPIO2Delay); }},
    {"GPIO2OneShotDelay", "GPIO2 One-Shot Delay Enabled",
     [](V p) { return truthText(p.GPIO2OneShotDelay); }},
    {"GPIO3Mode", "GPIO3 Function",
     [](V p) { return std::string(selectedFunction(GpioLine::GPIO3, p.GPIO3Mode).printedName()); }},
    {"GPIO3MinRPM", "GPIO3 Minimum RPM", [](V p) { return rpmText(p.GPIO3MinRPM); }},
    {"GPIO3MaxRPM", "GPIO3 Maximum RPM", [](V p) { return rpmText(p.GPIO3MaxRPM); }},
    {"GPIO3LaunchRPM", "GPIO3 Launch RPM", [](V p) { return rpmText(p.GPIO3LaunchRPM); }},
    {"GPIO3ShiftRPM1", "GPIO3 Gear 1 Shift RPM", [](V p) { return rpmText(p.GPIO3ShiftRPM1); }},
    {"GPIO3ShiftRPM2", "GPIO3 Gear 2 Shift RPM", [](V p) { return rpmText(p.GPIO3ShiftRPM2); }},
    {"GPIO3ShiftRPM3", "GPIO3 Gear 3 Shift RPM", [](V p) { return rpmText(p.GPIO3ShiftRPM3); }},
    {"GPIO3ShiftRPM4", "GPIO3 Gear 4 Shift RPM", [](V p) { return rpmText(p.GPIO3ShiftRPM4); }},
    {"GPIO3ShiftRPM5", "GPIO3 Gear 5 Shift RPM", [](V p) { return rpmText(p.GPIO3ShiftRPM5); }},
    {"GPIO3ShortShiftRPM", "GPIO3 Short Shift RPM",
     [](V p) { return rpmText(p.GPIO3ShortShiftRPM); }},
    {"GPIO3ShiftDropRPM", "GPIO3 Minimum Shift Drop RPM",
     [](V p) { return rpmText(p.GPIO3ShiftDropRPM); }},
    {"ModuleFlags", "Module Flag Byte", [](V p) { return hexByte(p.ModuleFlags); }},
    {"DataLogFlags", "Data Log Flag Byte", [](V p) { return hexByte(p.DataLogFlags); }},
}};

}  // namespace

std::span<const ParameterWords> parameterWords() {
    return kWords;
}

}  // namespace qz
