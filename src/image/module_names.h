#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qz {

// The MAP sensor byte 55 names: codes 0, 1 and 2 are the 1, 2 and 3 bar sensors, and the
// module reads any other code as 1 bar.
bool isMapSensorCode(std::uint8_t code);
int mapSensorBars(std::uint8_t code);
std::string mapSensorName(std::uint8_t code);  // "2 bar"

// The three general purpose lines and the functions each can have.
enum class GpioLine { GPI1, GPIO2, GPIO3 };

// A function by its code, the low four bits of the line's mode byte, with its name as the
// parameters dialog shows it (and the printed report, unless it has one of its own) and
// as qz1 writes it.
struct GpioFunction {
    int code;
    const char* caption;  // "Digital NOS Enable"
    const char* printed;  // the report's when it differs from the caption, else nullptr
    const char* word;     // "digital NOS"

    const char* printedName() const { return printed ? printed : caption; }
};

std::span<const GpioFunction> gpioFunctions(GpioLine line);

// The function a mode byte selects: its low four bits, or data log for a code the line does
// not have.
const GpioFunction& selectedFunction(GpioLine line, std::uint8_t mode);

}  // namespace qz
