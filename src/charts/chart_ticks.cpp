#include "charts/chart_ticks.h"

#include <cmath>

namespace qz {

std::vector<double> axisTicks(double minimum, double maximum, int most) {
    const double span = maximum - minimum;
    if (!std::isfinite(span) || span <= 0 || most < 1) return {};
    const double raw = span / most;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (const double m : {1.0, 2.0, 5.0})
        if (m * magnitude >= raw) {
            step = m * magnitude;
            break;
        }
    const double first = std::ceil(minimum / step) * step;
    std::vector<double> ticks;
    for (int k = 0; k <= most; ++k) {
        const double value = first + k * step;
        if (value > maximum + step * 1e-9) break;
        ticks.push_back(std::abs(value) < step * 1e-9 ? 0 : value);
    }
    return ticks;
}

}  // namespace qz
