#include "table/advance_steps.h"

#include <algorithm>

#include "image/cell_encoding.h"

namespace qz {

double steppedAdvance(double advance, double delta, int trigTiming, TableKind kind) {
    // The 2D table's floor at 0 is the decoding's own, below.
    const double highest = trigTiming;
    const double lowest = trigTiming - kTimingRange;
    const int before = encodeCell(trigTiming, advance);
    int after = encodeCell(trigTiming, std::clamp(advance + delta, lowest, highest));
    if (after == before) {
        // A byte is a retard: a step up takes one off it.
        const int nudged = before + (delta > 0 ? -1 : 1);
        if (nudged >= 0 && nudged <= 255) {
            const double at = decodeCell(trigTiming, static_cast<std::uint8_t>(nudged));
            if (at >= lowest && at <= highest) after = nudged;
        }
    }
    const double stored = decodeCell(trigTiming, static_cast<std::uint8_t>(after));
    // The 2D table reads a retard past the trigger timing as 0, as decoding the buffer does.
    return kind == TableKind::Table2D ? std::max(stored, 0.0) : stored;
}

}  // namespace qz
