#include <gtest/gtest.h>

#include "qz1/qz1_harness.h"

namespace qz1::test {
namespace {

using qz::test::TempFolder;

ToolRun diffAgainstSample(const std::vector<std::pair<int, int>>& changes) {
    TempFolder folder;
    qz::EepromBytes b = sampleImage();
    for (auto [address, byte] : changes) b[address] = static_cast<std::uint8_t>(byte);
    const auto fileA = folder.write("a.dat", fileBytes(sampleImage()));
    const auto fileB = folder.write("b.dat", fileBytes(b));
    return runTool({"diff", fileA, fileB});
}

TEST(Qz1Diff, ListsEachDifferenceInWordsAndExitsOneWhenTheFilesDiffer) {
    const struct {
        std::vector<std::pair<int, int>> changes;  // address, byte of file B
        std::string expected;
    } cases[] = {
        {{{51, 70}}, "RPM limit 6500 (fixed) -> 7000 (fixed)\n"},
        // The flag byte is not listed besides its own flag.
        {{{50, 0x9E}}, "Fixed maximum RPM limit yes -> no\n"},
        {{{17, 14}}, "2D 500 RPM 29.1 -> 28.8 deg\n"},
        // 28.242 against 28.154 both show 28.2 at one decimal, so four are shown.
        {{{18, 21}}, "2D 1000 RPM 28.2420 -> 28.1541 deg\n"},
        {{{112, 9}}, "3D 0 RPM MAP 18 30.0 -> 29.2 deg\n"},
        {{{279, 0}}, "3D 10000 RPM MAP 60 15.3 -> 30.0 deg\n"},
        {{{40, 7}}, "Byte 40 (not interpreted) 0 -> 7\n"},
        {{{55, 2}, {279, 0}},
         "MAP sensor 2 bar -> 3 bar\n3D 10000 RPM MAP 60/90 15.3 -> 30.0 deg\n"},
    };
    for (const auto& c : cases) {
        const ToolRun run = diffAgainstSample(c.changes);
        EXPECT_EQ(run.out, c.expected);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "");
    }
    const ToolRun same = diffAgainstSample({});
    EXPECT_EQ(same.out, "");
    EXPECT_EQ(same.status, 0);
}

TEST(Qz1Diff, BytesThatDecodeAlikeStillMakeTheFilesDifferent) {
    TempFolder folder;
    qz::EepromBytes a = sampleImage();
    qz::EepromBytes b = sampleImage();
    a[48] = 45;  // both trigger timings read as 40
    b[48] = 50;
    a[49] = 13;  // both cranking pulses read as 12
    b[49] = 200;
    const ToolRun run =
        runTool({"diff", folder.write("a.dat", fileBytes(a)), folder.write("b.dat", fileBytes(b))});
    EXPECT_EQ(run.out, "The images differ only in bytes that decode alike: addresses 48, 49\n");
    EXPECT_EQ(run.status, 1);
}

// Cells hold retard from the trigger timing, so a new trigger timing moves every advance.
TEST(Qz1Diff, ANewTriggerTimingMovesEveryAdvance) {
    const ToolRun run = diffAgainstSample({{48, 25}});
    EXPECT_EQ(run.out.substr(0, run.out.find('\n')), "Trigger timing 30 deg -> 25 deg");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1 + 21 + 168);
    EXPECT_NE(run.out.find("\n3D 10000 RPM MAP 60 15.3 -> 10.3 deg\n"), std::string::npos);
}

}  // namespace
}  // namespace qz1::test
