#include "image/module_names.h"

namespace qz {
namespace {

const GpioFunction kGpi1[] = {
    {0, "Data Log Only (Default)", nullptr, "data log"},
    {1, "Digital NOS Enable", nullptr, "digital NOS"},
    {2, "TPS Analog NOS Enable", nullptr, "analog NOS"},
    {3, "Analog Retard", nullptr, "analog retard"},
    {4, "Digital Retard", nullptr, "digital retard"},
};
const GpioFunction kGpio2[] = {
    {0, "Digital Data Log Only (Default)", "Data Log Only (Default)", "data log"},
    {1, "Vehicle Speed Input", nullptr, "vehicle speed input"},
    {2, "Burnout RPM Limit Input", "Burnout RPM Limit", "burnout RPM limit"},
    {3, "RPM Window Switch", nullptr, "RPM window switch"},
    {4, "NOS Trigger", nullptr, "NOS"},
};
const GpioFunction kGpio3[] = {
    {0, "Digital Data Log Only (Default)", "Data Log Only (Default)", "data log"},
    {1, "RPM Window Switch", nullptr, "RPM window switch"},
    {2, "Basic Shift Light", nullptr, "basic shift light"},
    {3, "Multi-Stage Shift Light", nullptr, "multi-stage shift light"},
};

}  // namespace

bool isMapSensorCode(std::uint8_t code) {
    return code <= 2;
}

int mapSensorBars(std::uint8_t code) {
    return isMapSensorCode(code) ? code + 1 : 1;
}

std::string mapSensorName(std::uint8_t code) {
    return std::to_string(mapSensorBars(code)) + " bar";
}

std::span<const GpioFunction> gpioFunctions(GpioLine line) {
    switch (line) {
        case GpioLine::GPI1:
            return kGpi1;
        case GpioLine::GPIO2:
            return kGpio2;
        case GpioLine::GPIO3:
            return kGpio3;
    }
    return {};
}

const GpioFunction& selectedFunction(GpioLine line, std::uint8_t mode) {
    const auto functions = gpioFunctions(line);
    const int code = mode & 15;
    return code < static_cast<int>(functions.size()) ? functions[static_cast<std::size_t>(code)]
                                                     : functions[0];
}

}  // namespace qz
