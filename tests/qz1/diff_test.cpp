#include <gtest/gtest.h>

#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

// Each difference in words, exit 1 when the files differ and 0 when they do not.
TEST(Qz1Diff, ListsEachDifferenceInWordsAndExitsOneWhenTheFilesDiffer) {
    using Changes = std::vector<std::pair<int, int>>;  // address, byte
    const struct {
        Changes a, b;
        std::string expected;  // the whole output, or its first line of so many
        long lines = 0;
    } cases[] = {
        {{}, {}, ""},
        {{}, {{51, 70}}, "RPM limit 6500 (fixed) -> 7000 (fixed)\n"},
        // The flag byte is not listed besides its own flag.
        {{}, {{50, 0x9E}}, "Fixed maximum RPM limit yes -> no\n"},
        {{}, {{17, 14}}, "2D 500 RPM 29.1 -> 28.8 deg\n"},
        // 28.242 against 28.154 both show 28.2 at one decimal, so four are shown.
        {{}, {{18, 21}}, "2D 1000 RPM 28.2420 -> 28.1541 deg\n"},
        {{}, {{112, 9}}, "3D 0 RPM MAP 18 30.0 -> 29.2 deg\n"},
        {{}, {{40, 7}}, "Byte 40 (not interpreted) 0 -> 7\n"},
        {{},
         {{55, 2}, {279, 0}},
         "MAP sensor 2 bar -> 3 bar\n3D 10000 RPM MAP 60/90 15.3 -> 30.0 deg\n"},
        // Both trigger timings read as 40, both cranking pulses as 12.
        {{{48, 45}, {49, 13}},
         {{48, 50}, {49, 200}},
         "The images differ only in bytes that decode alike: addresses 48, 49\n"},
        // Cells hold retard from the trigger timing, so a new one moves every advance.
        {{}, {{48, 25}}, "Trigger timing 30 deg -> 25 deg\n", 1 + 21 + 168},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        qz::EepromBytes a = sampleImage();
        qz::EepromBytes b = sampleImage();
        for (auto [address, byte] : c.a) a[address] = static_cast<std::uint8_t>(byte);
        for (auto [address, byte] : c.b) b[address] = static_cast<std::uint8_t>(byte);
        const ToolRun run = runTool(
            {"diff", folder.write("a.dat", fileBytes(a)), folder.write("b.dat", fileBytes(b))});
        if (c.lines) {
            EXPECT_EQ(run.out.substr(0, c.expected.size()), c.expected);
            EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), c.lines);
        } else {
            EXPECT_EQ(run.out, c.expected);
        }
        EXPECT_EQ(run.status, c.expected.empty() ? 0 : 1) << c.expected;
        EXPECT_EQ(run.err, "");
    }
}

}  // namespace
}  // namespace qz1::test
