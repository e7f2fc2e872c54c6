#include "qz1/parameter_words.h"

#include <array>
#include <cstdio>
#include <functional>
#include <stdexcept>

#include "core/number_text.h"
#include "image/module_names.h"
#include "image/module_units.h"
#include "image/parameter_catalog.h"

namespace qz1 {
namespace {

using qz::formatNumber;
using qz::ModuleData;

std::string yesNo(bool value) {
    return value ? "yes" : "no";
}

std::string hexByte(std::uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string rpm(int value) {
    return std::to_string(value) + " RPM";
}

std::string retardSteps(int steps) {
    return formatNumber(qz::retardDegrees(steps), "#0.0") + " deg (" + std::to_string(steps) +
           " steps)";
}

std::string volts(int steps) {
    return formatNumber(qz::tpsVolts(steps), "0.0") + " V (" + std::to_string(steps) + ")";
}

// A code the line does not have is named with the function it falls back to.
std::string function(qz::GpioLine line, std::uint8_t modeByte) {
    const qz::GpioFunction& selected = qz::selectedFunction(line, modeByte);
    const int code = modeByte & 15;
    std::string words = selected.word;
    if (selected.code != code) words += " (code " + std::to_string(code) + ")";
    return words + " (mode byte " + hexByte(modeByte) + ")";
}

std::string mapSensor(std::uint8_t code) {
    if (qz::isMapSensorCode(code)) return qz::mapSensorName(code);
    return "code " + std::to_string(code) + ", read as " + qz::mapSensorName(code);
}

struct Words {
    std::string_view name;
    std::string_view label;
    std::function<std::string(const ModuleData&)> value;
};

#define QZ_RPM(name, label)                                           \
    {                                                                 \
#name, label, [](const ModuleData& d) { return rpm(d.name); } \
    }
#define QZ_FLAG(name, label)                                            \
    {                                                                   \
#name, label, [](const ModuleData& d) { return yesNo(d.name); } \
    }

const std::array<Words, 39> kWords = {{
    {"TrigTiming", "Trigger timing",
     [](const ModuleData& d) { return std::to_string(d.TrigTiming) + " deg"; }},
    {"CrankPulses", "Cranking pulses",
     [](const ModuleData& d) { return std::to_string(d.CrankPulses); }},
    {"ModuleFlags", "Module flag byte", [](const ModuleData& d) { return hexByte(d.ModuleFlags); }},
    QZ_FLAG(Cyl4Engine, "4-cylinder engine"),
    QZ_FLAG(Cyl6Engine, "6-cylinder engine"),
    QZ_FLAG(RPMLimitEnabled, "RPM limit enabled"),
    QZ_FLAG(MultiSparkEnabled, "Multi-spark enabled"),
    QZ_FLAG(TimingEnabled, "Timing functions enabled"),
    QZ_FLAG(FixedMaxRPMLimitEnabled, "Fixed maximum RPM limit"),
    QZ_FLAG(Table2DEnabled, "2D timing table selected"),
    QZ_FLAG(Table3DEnabled, "3D timing table selected"),
    {"MaxRPMLimit", "RPM limit",
     [](const ModuleData& d) {
         return std::to_string(d.MaxRPMLimit) +
                (d.FixedMaxRPMLimitEnabled ? " (fixed)" : " (not fixed)");
     }},
    {"RetardComp", "Retard compensation",
     [](const ModuleData& d) { return retardSteps(d.RetardComp); }},
    {"StartRetard", "Start retard",
     [](const ModuleData& d) {
         return d.StartRetard == 0 ? std::string("off") : retardSteps(d.StartRetard);
     }},
    {"DataLogFlags", "Data-logging flag byte",
     [](const ModuleData& d) { return hexByte(d.DataLogFlags); }},
    QZ_FLAG(HighSpeedDataLog, "High-speed data logging"),
    {"MAPSensorBar", "MAP sensor", [](const ModuleData& d) { return mapSensor(d.MAPSensorBar); }},
    {"GPI1Mode", "GPI1 function",
     [](const ModuleData& d) { return function(qz::GpioLine::GPI1, d.GPI1Mode); }},
    {"GPI1OffTPS", "GPI1 TPS switch-off", [](const ModuleData& d) { return volts(d.GPI1OffTPS); }},
    {"GPI1OnTPS", "GPI1 TPS switch-on", [](const ModuleData& d) { return volts(d.GPI1OnTPS); }},
    {"GPI1Retard", "GPI1 retard", [](const ModuleData& d) { return retardSteps(d.GPI1Retard); }},
    {"GPIO2Mode", "GPIO2 function",
     [](const ModuleData& d) { return function(qz::GpioLine::GPIO2, d.GPIO2Mode); }},
    QZ_FLAG(GPIO2OneShotDelay, "GPIO2 one-shot delay"),
    {"GPIO2VSSFreq", "GPIO2 vehicle speed frequency",
     [](const ModuleData& d) { return std::to_string(d.GPIO2VSSFreq); }},
    QZ_RPM(GPIO2BurnRPMLim, "GPIO2 burnout RPM limit"),
    QZ_RPM(GPIO2MinRPM, "GPIO2 RPM window low"),
    QZ_RPM(GPIO2MaxRPM, "GPIO2 RPM window high"),
    {"GPIO2Delay", "GPIO2 NOS delay",
     [](const ModuleData& d) {
         return formatNumber(qz::nosDelaySeconds(d.GPIO2Delay), "0.00") + " s (" +
                std::to_string(d.GPIO2Delay) + " steps)";
     }},
    {"GPIO3Mode", "GPIO3 function",
     [](const ModuleData& d) { return function(qz::GpioLine::GPIO3, d.GPIO3Mode); }},
    QZ_RPM(GPIO3MinRPM, "GPIO3 RPM window low"),
    QZ_RPM(GPIO3MaxRPM, "GPIO3 RPM window high"),
    QZ_RPM(GPIO3LaunchRPM, "GPIO3 launch RPM"),
    QZ_RPM(GPIO3ShiftRPM1, "GPIO3 gear 1 shift RPM"),
    QZ_RPM(GPIO3ShiftRPM2, "GPIO3 gear 2 shift RPM"),
    QZ_RPM(GPIO3ShiftRPM3, "GPIO3 gear 3 shift RPM"),
    QZ_RPM(GPIO3ShiftRPM4, "GPIO3 gear 4 shift RPM"),
    QZ_RPM(GPIO3ShiftRPM5, "GPIO3 gear 5 shift RPM"),
    QZ_RPM(GPIO3ShortShiftRPM, "GPIO3 short-shift RPM"),
    QZ_RPM(GPIO3ShiftDropRPM, "GPIO3 shift drop RPM"),
}};

#undef QZ_RPM
#undef QZ_FLAG

const Words& wordsFor(std::string_view name) {
    for (const auto& words : kWords)
        if (words.name == name) return words;
    throw std::logic_error("no words for parameter " + std::string(name));
}

}  // namespace

std::string parameterLabel(std::string_view name) {
    return std::string(wordsFor(name).label);
}

std::string parameterValueText(std::string_view name, const ModuleData& data) {
    return wordsFor(name).value(data);
}

std::string storedValueText(std::string_view name, const Tune& tune) {
    return tune.decoded(name) ? parameterValueText(name, tune.data) : "cannot be decoded";
}

std::string_view sectionBefore(std::string_view name) {
    if (name == "TrigTiming") return "Module parameters";
    if (name == "GPI1Mode") return "General purpose input 1";
    if (name == "GPIO2Mode") return "General purpose input/output 2";
    if (name == "GPIO3Mode") return "General purpose input/output 3";
    return {};
}

}  // namespace qz1
