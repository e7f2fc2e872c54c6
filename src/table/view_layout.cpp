#include "table/view_layout.h"

#include <algorithm>
#include <cmath>

#include "core/rounding.h"
#include "core/twips.h"

namespace qz {

ViewLayout computeViewLayout(int innerWidth, int innerHeight, int gridNeeds) {
    ViewLayout layout;
    layout.chart = {0, 0, static_cast<double>(innerWidth), 0.7 * innerHeight};
    // Both grid values are rounded to whole twips before the clamp at zero.
    const double gridWidth = std::max(0.0, roundHalfEven(innerWidth - 150.0));
    const double gridHeight = std::max(0.0, roundHalfEven(0.3 * innerHeight - 725));
    layout.grid = {0, 0.7 * innerHeight, gridWidth, gridHeight};
    const double lacking = std::min(gridNeeds - gridHeight, 0.2 * innerHeight);
    if (lacking > 0) {
        layout.chart.height -= lacking;
        layout.grid.top -= lacking;
        layout.grid.height += lacking;
    }
    return layout;
}

int gridColumnWidth(int gridInnerWidth) {
    return gridInnerWidth / 22 - 1;
}

int grid2DRowHeight(int gridInnerHeight) {
    return gridInnerHeight / 3 - 10;
}

int grid3DRowHeight(int gridInnerHeight) {
    return gridInnerHeight / 9 - 1;
}

int TwipScale::toPixelsX(double twips) const {
    return static_cast<int>(roundHalfEven(twips * dpiX_ / kTwipsPerInch));
}

int TwipScale::toPixelsY(double twips) const {
    return static_cast<int>(roundHalfEven(twips * dpiY_ / kTwipsPerInch));
}

int TwipScale::toTwipsX(int pixels) const {
    return static_cast<int>(roundHalfEven(pixels * kTwipsPerInch / dpiX_));
}

int TwipScale::toTwipsY(int pixels) const {
    return static_cast<int>(roundHalfEven(pixels * kTwipsPerInch / dpiY_));
}

}  // namespace qz
