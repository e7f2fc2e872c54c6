#include "core/number_text.h"

#include <gtest/gtest.h>

#include <string>

namespace qz {
namespace {

TEST(NumberText, ZeroAndPositiveGetOneLeadingBlankNegativeAMinusSign) {
    const struct {
        double value;
        std::string text;
        std::string plain;
    } cases[] = {
        {3000, " 3000", "3000"}, {0, " 0", "0"},
        {-0.0, " 0", "0"},       {-5, "-5", "-5"},
        {2.5, " 2.5", "2.5"},    {0.2637, " 0.2637", "0.2637"},
        {22, " 22", "22"},       {-4.25, "-4.25", "-4.25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(numberText(c.value), c.text) << c.value;
        EXPECT_EQ(plainNumber(c.value), c.plain) << c.value;
    }
}

TEST(FormatNumber, AppliesTheProgramsDigitPatterns) {
    const struct {
        double value;
        const char* pattern;
        std::string text;
    } cases[] = {
        {25, "#0.0", "25.0"},     {0, "#0.0", "0.0"},
        {7.5, "#0", "8"},  // a true half goes to the even neighbour
        {6.5, "#0", "6"},         {0.25, "#0.0", "0.2"},
        {2.6367, "#0.0", "2.6"},  {-12.4145, "#0.0", "-12.4"},
        {-0.04, "#0.0", "0.0"},  // shows as zero, so no minus sign
        {10000, "###0", "10000"}, {500, "####0", "500"},
        {0, "####0", "0"},        {5, "##00", "05"},
        {6500, "##00", "6500"},   {4.196, "0.0", "4.2"},
        {0.096, "0.00", "0.10"},  {0.5, "0.00", "0.50"},
        {0.125, "0.00", "0.12"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

}  // namespace
}  // namespace qz
