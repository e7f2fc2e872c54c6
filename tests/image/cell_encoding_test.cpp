#include "image/cell_encoding.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

// The byte, and which of its limits (if any) held the advance.
TEST(CellEncoding, EncodesTheRetardFromTheTriggerTimingLimitedToAByte) {
    constexpr auto None = CellLimit::None;
    const struct {
        int trigTiming;
        double advance;
        int byte;
        CellLimit limit;
    } cases[] = {
        {30, 30, 0, None},
        {30, 8, 250, None},                       // T - 22
        {30, 7.5, 255, CellLimit::BelowLowest},   // 256 steps are limited to 255
        {30, 31, 0, CellLimit::AboveTrigger},     // -11 steps limited to 0
        {30, 30.05, 0, CellLimit::AboveTrigger},  // -0.57 steps round to -1
        {30, 30.04, 0, None},                     // -0.46 steps round to 0
        {30, -100, 255, CellLimit::BelowLowest},
        {10, 10 - 0.0879 * 255, 255, None},
        {40, 40 - 0.0879, 1, None},
        {30, 30 - 0.04, 0, None},
        {30, 30 - 0.05, 1, None},  // nearest step
        // The quotient (T - advance) / 0.0879 exactly halfway: the even byte.
        {0, -2.5 * kRetardStep, 2, None},
        {0, -3.5 * kRetardStep, 4, None},
        {0, -0.5 * kRetardStep, 0, None},
        {0, -254.5 * kRetardStep, 254, None},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(encodeCell(c.trigTiming, c.advance), c.byte) << c.trigTiming << " " << c.advance;
        EXPECT_EQ(cellLimit(c.trigTiming, c.advance), c.limit) << c.trigTiming << " " << c.advance;
    }
}

TEST(CellEncoding, DecodesAgainstTheTriggerTimingWithTheDecimalStep) {
    EXPECT_DOUBLE_EQ(decodeCell(10, 255), -12.4145);
    EXPECT_DOUBLE_EQ(decodeCell(30, 0), 30);
    EXPECT_DOUBLE_EQ(decodeCell(30, 250), 8.025);
}

TEST(CellEncoding, EveryByteSurvivesDecodeThenEncodeAtEveryTriggerTiming) {
    for (int t = 0; t <= 40; ++t)
        for (int b = 0; b <= 255; ++b)
            ASSERT_EQ(encodeCell(t, decodeCell(t, static_cast<std::uint8_t>(b))), b)
                << t << " " << b;
}

}  // namespace
}  // namespace qz
