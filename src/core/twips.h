#pragma once

namespace qz {

// Lengths on screen and paper are worked out in twips, 1/1440 inch.
inline constexpr double kTwipsPerInch = 1440;

}  // namespace qz
