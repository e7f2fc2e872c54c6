#pragma once

#include <QByteArray>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/module_data.h"
#include "qz1/commands.h"
#include "support/round_trip.h"
#include "support/temp_folder.h"

namespace qz1::test {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

inline ToolRun runTool(const std::vector<std::string>& arguments) {
    std::ostringstream out;
    std::ostringstream err;
    const int status = runQz1(arguments, out, err);
    return {status, out.str(), err.str()};
}

inline QByteArray fileBytes(const qz::EepromBytes& image) {
    return QByteArray(reinterpret_cast<const char*>(image.data()) + qz::kImageFirstAddress,
                      qz::kImageSize);
}

// A 3D tune with a fixed 6500 RPM limit and a 2 bar sensor.
inline qz::EepromBytes sampleImage() {
    qz::EepromBytes image{};
    image[48] = 30;
    image[49] = 4;
    image[50] = 0x80 | 0x20 | 0x1C | 0x02;
    image[51] = 65;
    image[55] = 1;
    for (int k = 0; k < 168; ++k) image[112 + k] = static_cast<std::uint8_t>(k);
    for (int i = 0; i < 21; ++i) image[16 + i] = static_cast<std::uint8_t>(10 * i);
    return image;
}

// sampleImage() with some bytes changed (address, byte), written as a data file.
inline std::string writeTune(const qz::test::TempFolder& folder, const QString& name,
                             const std::vector<std::pair<int, int>>& changes = {}) {
    qz::EepromBytes image = sampleImage();
    for (auto [address, byte] : changes) image[address] = static_cast<std::uint8_t>(byte);
    return folder.write(name, fileBytes(image));
}

}  // namespace qz1::test
