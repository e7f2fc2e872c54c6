#include "image/cell_encoding.h"

#include "core/rounding.h"

namespace qz {

double decodeCell(int trigTiming, std::uint8_t byte) {
    const double retard = kRetardStep * byte;
    return trigTiming - retard;
}

std::uint8_t encodeCell(int trigTiming, double advance) {
    const double steps = roundHalfEven((trigTiming - advance) / kRetardStep);
    if (!(steps > 0)) return 0;  // also a value that is not a number
    if (steps > 255) return 255;
    return static_cast<std::uint8_t>(steps);
}

}  // namespace qz
