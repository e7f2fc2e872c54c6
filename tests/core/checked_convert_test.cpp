#include "core/checked_convert.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/program_error.h"

namespace qz {
namespace {

TEST(CheckedConvert, RoundsHalfToEvenThenChecksTheRange) {
    EXPECT_EQ(toByte(254.5), 254);
    EXPECT_EQ(toByte(-0.5), 0);
    EXPECT_EQ(toByte(0.5), 0);
    EXPECT_EQ(toByte(1.5), 2);
    EXPECT_EQ(toInteger(32766.5), 32766);
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768);
    EXPECT_EQ(toInteger(-1.5), -2);
}

TEST(CheckedConvert, ValuesThatDoNotFitFailWithOverflow) {
    const double bytes[] = {255.5, 256, -0.6, -1, NAN, INFINITY};
    for (double value : bytes) {
        try {
            toByte(value);
            ADD_FAILURE() << value << " converted to a byte";
        } catch (const ProgramError& error) {
            EXPECT_EQ(error.description(), "Overflow");
            EXPECT_EQ(error.number(), kOverflowErrorNumber);
        }
    }
    const double integers[] = {32767.5, 32768, -32768.6, -40000, NAN};
    for (double value : integers) EXPECT_THROW(toInteger(value), ProgramError) << value;
}

}  // namespace
}  // namespace qz
