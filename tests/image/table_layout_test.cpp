#include "image/table_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "image/cell_encoding.h"
#include "image/module_names.h"

namespace qz {
namespace {

// The byte, and which of its limits (if any) held the advance; a quotient (T - advance) / 0.0879
// exactly halfway gives the even byte.
TEST(CellEncoding, EncodesTheRetardFromTheTriggerTimingLimitedToAByte) {
    constexpr auto None = CellLimit::None;
    // clang-format off
    const struct {
        int trigTiming;
        double advance;
        int byte;
        CellLimit limit;
    } cases[] = {
        {30, 30, 0, None}, {30, 8, 250, None},  // T - 22
        {30, 7.5, 255, CellLimit::BelowLowest},  // 256 steps are limited to 255
        {30, 31, 0, CellLimit::AboveTrigger},  // -11 steps limited to 0
        {30, 30.05, 0, CellLimit::AboveTrigger},  // -0.57 steps round to -1
        {30, 30.04, 0, None},  // -0.46 steps round to 0
        {30, -100, 255, CellLimit::BelowLowest}, {10, 10 - 0.0879 * 255, 255, None},
        {40, 40 - 0.0879, 1, None}, {30, 30 - 0.04, 0, None},
        {30, 30 - 0.05, 1, None},  // nearest step
        {0, -2.5 * kRetardStep, 2, None}, {0, -3.5 * kRetardStep, 4, None},
        {0, -0.5 * kRetardStep, 0, None}, {0, -254.5 * kRetardStep, 254, None},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(encodeCell(c.trigTiming, c.advance), c.byte) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(cellLimit(c.trigTiming, c.advance), c.limit) << c.trigTiming << " " << c.advance;
    }
}

TEST(CellEncoding, EveryByteSurvivesDecodeThenEncodeAtEveryTriggerTiming) {
    for (int t = 0; t <= 40; ++t)
        for (int b = 0; b <= 255; ++b)
            ASSERT_EQ(encodeCell(t, decodeCell(t, static_cast<std::uint8_t>(b))), b)
                << t << " " << b;
}

// Every offset of the block names the cell stored there, each cell at its own address.
TEST(TableLayout, The3DBlockStoresTheLowestPressureRowFirst) {
    const struct {
        int column;
        int row;
        int address;
    } cases[] = {{1, 8, 112}, {21, 8, 132}, {1, 7, 133}, {1, 1, 259}, {21, 1, 279}, {11, 4, 206}};
    for (const auto& c : cases) EXPECT_EQ(table3DAddress(c.column, c.row), c.address);
    std::set<int> addresses;
    for (int k = 0; k < kTable3DCells; ++k) {
        const Cell3D cell = table3DCellAt(k);
        EXPECT_EQ(table3DAddress(cell.column, cell.row), kTable3DFirstAddress + k);
        addresses.insert(table3DAddress(cell.column, cell.row));
    }
    EXPECT_EQ(addresses.size(), 168u);
}

TEST(TableLayout, TheSensorsNameAndPressureLabelsFollowItsCode) {
    // clang-format off
    const struct {
        std::uint8_t sensor;
        const char* name;
        std::vector<int> labelsFromRow8;
    } cases[] = {
        {0, "1 bar", {16, 18, 20, 22, 24, 26, 28, 30}},
        {1, "2 bar", {18, 24, 30, 36, 42, 48, 54, 60}},
        {2, "3 bar", {20, 30, 40, 50, 60, 70, 80, 90}},
        {3, "1 bar", {16, 18, 20, 22, 24, 26, 28, 30}},
        {255, "1 bar", {16, 18, 20, 22, 24, 26, 28, 30}},
    };
    // clang-format on
    for (const auto& c : cases) {
        std::vector<int> labels;
        for (int r = 8; r >= 1; --r) labels.push_back(pressureLabel(c.sensor, r));
        EXPECT_EQ(labels, c.labelsFromRow8) << int(c.sensor);
        EXPECT_EQ(mapSensorName(c.sensor), c.name) << int(c.sensor);
    }
}

TEST(TableLayout, SavingTablesWritesOnlyTheirBytesAgainstTheCurrentTriggerTiming) {
    ModuleData data;
    data.EEPROMBuffer.fill(0xAA);
    data.TrigTiming = 30;
    for (int c = 1; c <= 21; ++c) data.Table2D(c, 1) = 30 - c * kRetardStep;
    for (int c = 1; c <= 21; ++c)
        for (int r = 1; r <= 8; ++r) data.Table3D(c, r) = 30 - (r * 21 + c) * kRetardStep;
    data.Table2D(21, 1) = 31;   // above the trigger timing
    data.Table3D(21, 1) = -30;  // further below it than a byte reaches
    data.Table3D(20, 1) = 7;
    const EncodingLimits limits2D = encodeTable2D(data);
    const EncodingLimits limits3D = encodeTable3D(data);
    EXPECT_EQ(limits2D.aboveTrigger, 1);
    EXPECT_EQ(limits2D.belowLowest, 0);
    EXPECT_EQ(limits3D.aboveTrigger, 0);
    EXPECT_EQ(limits3D.belowLowest, 2);
    for (int c = 1; c <= 20; ++c) EXPECT_EQ(data.EEPROMBuffer[15 + c], c);
    EXPECT_EQ(data.EEPROMBuffer[36], 0);
    EXPECT_EQ(data.EEPROMBuffer[112], 8 * 21 + 1);  // row 8, column 1 comes first
    EXPECT_EQ(data.EEPROMBuffer[279], 255);
    for (int a = 0; a < kEepromSize; ++a)
        if ((a < 16 || a > 36) && a < 112) {
            EXPECT_EQ(data.EEPROMBuffer[a], 0xAA) << a;
        }
}

}  // namespace
}  // namespace qz
