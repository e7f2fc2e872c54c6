#pragma once

#include <algorithm>
#include <random>

#include "core/module_data.h"

namespace qz::test {

// What decoding and encoding again may change in an image: the clamps of 48, 49, 51 and
// 75, both cylinder bits (read back as six cylinders), both table bits (read back as the
// 3D table), bits 1-7 of 54 and bits 5-7 of 72.
inline EepromBytes expectedAfterRoundTrip(EepromBytes bytes) {
    bytes[48] = std::min<std::uint8_t>(bytes[48], 40);
    bytes[49] = std::clamp<std::uint8_t>(bytes[49], 2, 12);
    if ((bytes[50] & 3) == 3) bytes[50] &= 0xFE;
    if ((bytes[50] & 0xC0) == 0xC0) bytes[50] &= 0xBF;
    bytes[51] = std::clamp<std::uint8_t>(bytes[51], 30, 109);
    bytes[54] &= 1;
    bytes[72] &= 0x1F;
    bytes[75] = std::clamp<std::uint8_t>(bytes[75], 10, 99);
    return bytes;
}

// A random image whose frequency bytes decode (an overflow there is tested on its own).
inline EepromBytes randomDecodableImage(std::mt19937& random) {
    std::uniform_int_distribution<int> byte(0, 255);
    EepromBytes image{};
    for (int a = kImageFirstAddress; a <= kImageLastAddress; ++a)
        image[a] = static_cast<std::uint8_t>(byte(random));
    image[74] &= 0x7F;
    return image;
}

}  // namespace qz::test
