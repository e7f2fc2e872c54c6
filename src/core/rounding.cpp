#include "core/rounding.h"

#include <cmath>

namespace qz {

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

double roundHalfEven(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return roundHalfEven(value * scale) / scale;
}

}  // namespace qz
