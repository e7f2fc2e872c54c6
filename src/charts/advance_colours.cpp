#include "charts/advance_colours.h"

#include <algorithm>

namespace qz {

QColor advanceColour(double advance, double minimum, double maximum, const QColor& low,
                     const QColor& high) {
    const double span = maximum > minimum ? maximum - minimum : 1;
    const double t = std::clamp((advance - minimum) / span, 0.0, 1.0);
    // Through the hues from the low colour's to the high colour's, the short way round.
    const double from = low.hsvHueF() < 0 ? 0 : low.hsvHueF();
    const double to = high.hsvHueF() < 0 ? 0 : high.hsvHueF();
    const double hue = from + (to - from) * t;
    const double saturation =
        low.hsvSaturationF() + (high.hsvSaturationF() - low.hsvSaturationF()) * t;
    const double value = low.valueF() + (high.valueF() - low.valueF()) * t;
    return QColor::fromHsvF(static_cast<float>(hue), static_cast<float>(saturation),
                            static_cast<float>(value));
}

}  // namespace qz
