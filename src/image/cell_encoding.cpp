#include "image/cell_encoding.h"

#include "core/rounding.h"

namespace qz {

double decodeCell(int trigTiming, std::uint8_t byte) {
    const double retard = kRetardStep * byte;
    return trigTiming - retard;
}

namespace {

double steps(int trigTiming, double advance) {
    return roundHalfEven((trigTiming - advance) / kRetardStep);
}

}  // namespace

std::uint8_t encodeCell(int trigTiming, double advance) {
    const double n = steps(trigTiming, advance);
    if (!(n > 0)) return 0;  // also a value that is not a number
    if (n > 255) return 255;
    return static_cast<std::uint8_t>(n);
}

CellLimit cellLimit(int trigTiming, double advance) {
    const double n = steps(trigTiming, advance);
    if (n < 0) return CellLimit::AboveTrigger;
    if (n > 255) return CellLimit::BelowLowest;
    return CellLimit::None;
}

}  // namespace qz
