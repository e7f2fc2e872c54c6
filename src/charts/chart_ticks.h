#pragma once

#include <vector>

namespace qz {

// The values to mark on an axis from `minimum` to `maximum`: multiples of a round step (1, 2
// or 5 times a power of ten) chosen so that there are at most `most` of them. However large
// or odd the range, the count stays within `most` + 1: no value's size decides how long a
// drawing loop runs. A range that is empty or not finite has no marks.
std::vector<double> axisTicks(double minimum, double maximum, int most);

}  // namespace qz
