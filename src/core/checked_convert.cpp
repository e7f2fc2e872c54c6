#include "core/checked_convert.h"

#include "core/program_error.h"
#include "core/rounding.h"

namespace qz {
namespace {

template <typename Int>
Int checkedRound(double value, double lowest, double highest) {
    const double rounded = roundHalfEven(value);
    // Written so that NaN fails too.
    if (!(rounded >= lowest && rounded <= highest)) throw overflowError();
    return static_cast<Int>(rounded);
}

}  // namespace

std::uint8_t toByte(double value) {
    return checkedRound<std::uint8_t>(value, 0, 255);
}

std::int16_t toInteger(double value) {
    return checkedRound<std::int16_t>(value, -32768, 32767);
}

}  // namespace qz
