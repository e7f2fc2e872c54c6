#include "core/rounding.h"

#include <gtest/gtest.h>

namespace qz {
namespace {

TEST(RoundHalfEven, WholeNumbersSendHalvesToTheEvenNeighbourAtBothSigns) {
    const struct {
        double value;
        double expected;
    } cases[] = {
        {2.5, 2},      {3.5, 4},      {0.5, 0},   {1.5, 2},     {-0.5, -0.0}, {-1.5, -2},
        {-2.5, -2},    {30.5, 30},    {31.5, 32}, {255.5, 256}, {2.4999, 2},  {2.5001, 3},
        {-2.5001, -3}, {-2.4999, -2}, {0, 0},     {7, 7},       {-7, -7},     {32767.5, 32768},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.value), c.expected) << c.value;
}

TEST(RoundHalfEven, OneDecimalRoundsTheScaledValue) {
    const struct {
        double value;
        double expected;
    } cases[] = {
        {5.0 * 214 / 255, 4.2},  // the switch-on default reads 4.2 V
        {5.0 * 204 / 255, 4.0}, {0.25, 0.2}, {0.35, 0.4}, {-0.25, -0.2}, {2.637, 2.6},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(roundHalfEven(c.value, 1), c.expected) << c.value;
}

}  // namespace
}  // namespace qz
