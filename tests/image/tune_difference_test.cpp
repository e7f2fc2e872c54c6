#include <gtest/gtest.h>

#include <tuple>

#include "image/cell_encoding.h"
#include "image/tune_difference.h"

namespace qz {
namespace {

using Changes = std::vector<std::pair<int, std::uint8_t>>;

// A 3D tune at trigger timing 30 with a 1 bar sensor, every cell 2 degrees below it.
EepromBytes baseImage() {
    EepromBytes image{};
    image[48] = 30;
    image[49] = 4;
    image[50] = 0x80 | 0x10 | 0x04;
    image[51] = 65;
    for (int address = 112; address <= kImageLastAddress; ++address) image[address] = 23;
    for (int address = 16; address <= 36; ++address) image[address] = 23;
    return image;
}

TuneDifference differenceAfter(const Changes& changes, const EepromBytes& base = baseImage()) {
    EepromBytes other = base;
    for (const auto& [address, value] : changes) other[address] = value;
    return compareTunes(decodedImage(base), decodedImage(other));
}

// Each parameter is named once, by the variable a tuner sets, in the report's order; a
// flag byte only for bits no flag of its own says. The 3D flag wins over the 2D flag: the 2D
// bit alone changes nothing a tuner sees.
TEST(TuneDifference, NamesEachDifferingParameterOnceInTheReportsOrder) {
    // clang-format off
    const struct {
        Changes changes;
        std::vector<std::string_view> parameters;
    } cases[] = {
        {{{48, 28}}, {"TrigTiming"}},
        {{{48, 28}, {50, 0x80 | 0x10}}, {"RPMLimitEnabled", "TrigTiming"}},
        {{{50, 0x80 | 0x10 | 0x04 | 0x20}}, {"FixedMaxRPMLimitEnabled"}},
        {{{50, 0x80 | 0x40 | 0x10 | 0x04}}, {"ModuleFlags"}}, {{{54, 1}}, {"HighSpeedDataLog"}},
        {{{54, 2}}, {"DataLogFlags"}}, {{{72, 0x10}}, {"GPIO2OneShotDelay"}},
        {{{72, 0x11}}, {"GPIO2Mode", "GPIO2OneShotDelay"}}, {{{55, 2}}, {"MAPSensorBar"}},
        {{{81, 20}, {82, 90}}, {"GPIO3MinRPM", "GPIO3MaxRPM"}},
        {{{88, 20}, {87, 90}}, {"GPIO3ShiftRPM4", "GPIO3ShiftRPM5"}},
        {{{73, 1}}, {"GPIO2VSSFreq"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        const TuneDifference difference = differenceAfter(c.changes);
        EXPECT_EQ(difference.parameters, c.parameters) << c.changes.front().first;
        EXPECT_TRUE(difference.cells.empty() || c.changes.front().first == 48);
    }
}

TEST(TuneDifference, SummaryAndCountsSayHowMuchDiffers) {
    const struct {
        Changes changes;
        std::string summary, counts;
    } cases[] = {
        {{}, "Identical", "same"},
        // 23 steps below 30 is 27.98 degrees, 5 steps 29.56: +1.6 at 3500 RPM in row 5,
        // 22 kPa for this tune's 1 bar sensor, beside a cell of -0.1.
        {{{49, 6}, {table3DAddress(8, 5), 5}, {table3DAddress(1, 1), 24}},
         "2 cells (largest +1.6 at 3500 RPM, 22 kPa), 1 parameter differ",
         "2 cells, 1 parameter"},
        {{{49, 6}}, "1 parameter differs", "1 parameter"},
        {{{40, 1}, {41, 2}}, "2 other bytes differ", "2 other bytes"},
    };
    for (const auto& c : cases) {
        const TuneDifference difference = differenceAfter(c.changes);
        EXPECT_EQ(differenceSummary(difference, decodedImage(baseImage())), c.summary);
        EXPECT_EQ(differenceCounts(difference), c.counts);
    }
    // Cells from row 8 down, each at its own column and row with both advances; bytes the
    // program does not interpret are listed as bytes and nothing else.
    const TuneDifference some = differenceAfter(
        {{table3DAddress(1, 1), 24}, {table3DAddress(8, 5), 5}, {37, 1}, {79, 2}, {111, 3}});
    const auto cell = [](const CellDifference& d) {
        return std::tuple(d.kind, d.column, d.row, d.here, d.there);
    };
    ASSERT_EQ(some.cells.size(), 2u);
    EXPECT_EQ(cell(some.cells[0]),
              std::tuple(TableKind::Table3D, 8, 5, decodeCell(30, 23), decodeCell(30, 5)));
    EXPECT_EQ(cell(some.cells[1]),
              std::tuple(TableKind::Table3D, 1, 1, decodeCell(30, 23), decodeCell(30, 24)));
    EXPECT_EQ(some.carriedBytes, (std::vector<int>{37, 79, 111}));
    EXPECT_TRUE(some.parameters.empty() && some.alikeBytes.empty());
    // A 2D cell below 0 degrees shows as 0 either way: the byte differs, nothing else.
    EepromBytes zeroBelow = baseImage();
    zeroBelow[48] = 1;
    const TuneDifference alike = differenceAfter({{20, 200}}, zeroBelow);
    EXPECT_EQ(alike.alikeBytes, std::vector<int>{20});
    EXPECT_EQ(differenceSummary(alike, decodedImage(zeroBelow)), "1 other byte differs");
}

}  // namespace
}  // namespace qz
