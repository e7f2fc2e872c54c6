#pragma once

#include <cstdint>

namespace qz {

// Conversions of a computed value to the program's byte and 16-bit Integer types. The
// value is rounded half to even first; a result outside the type fails with the run-time
// error "Overflow" (a ProgramError), as does a value that is not a number.
std::uint8_t toByte(double value);
std::int16_t toInteger(double value);

}  // namespace qz
