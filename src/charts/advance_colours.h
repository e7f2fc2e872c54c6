#pragma once

#include <QColor>

namespace qz {

// The colour of an advance on the chart template's scale: the low colour at the minimum,
// the high colour at the maximum, and the hues between them in order, so that a tuner reads
// a timing table as a heat map. The surface and the grid's cells use the same scale.
QColor advanceColour(double advance, double minimum, double maximum, const QColor& low,
                     const QColor& high);

}  // namespace qz
