#pragma once

#include "qz1/qz1_harness.h"
#include "support/main_window_fixture.h"

namespace qz::test {

// Each with a fixed RPM limit, which the module parameters dialog keeps as it is.
inline constexpr std::uint8_t k2D = 0x40 | 0x20 | 0x1C;
inline constexpr std::uint8_t k3D = 0x80 | 0x20 | 0x1C;

// A data file of a tune with the trigger timing at 30 and the given table selected.
inline QByteArray tuneFile(std::uint8_t flags, std::uint8_t sensor = 0) {
    EepromBytes image{};
    image[48] = 30;
    image[49] = 4;
    image[50] = flags;
    image[51] = 65;
    image[55] = sensor;
    for (int a = 16; a <= 36; ++a) image[a] = static_cast<std::uint8_t>(3 * (a - 16));
    for (int a = 112; a <= 279; ++a) image[a] = static_cast<std::uint8_t>(a % 90);
    return qz1::test::fileBytes(image);
}

// The main window with a data file opened, its module parameters dialog closed unchanged.
struct EditorFixture : MainWindowFixture {
    explicit EditorFixture(std::uint8_t flags, std::uint8_t sensor = 0) {
        window->show();
        path = folder.write("tune.dat", tuneFile(flags, sensor));
        prompts.answerFile(path);
        prompts.answer(PromptAnswer::OK);
        window->mnuOpenFile->trigger();
        opened = state.EEPROMBuffer;
    }
    std::string path;
    EepromBytes opened;
};

}  // namespace qz::test
