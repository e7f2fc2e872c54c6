#include "core/leading_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace qz {
namespace {

// Blanks (space, tab, line feed, not carriage return) are skipped wherever they stand; at most
// one full stop; an exponent without digits is not taken; a comma is never a decimal point;
// an exponent beyond a double gives 0 or an infinity of the number's sign.
TEST(LeadingNumber, ReadsTheNumberAtTheStartOfTheText) {
    const struct {
        std::string text;
        double expected;
    } cases[] = {
        {"25", 25},  {"  25.5", 25.5}, {"\t\n-3", -3}, {"+4.25", 4.25},  {"25 degrees", 25},
        {"2 5", 25}, {"1.2.3", 1.2},   {"1.5E2", 150}, {"1.5e-1", 0.15}, {"1E", 1},
        {"1E+", 1},  {"3x4", 3},       {".5", 0.5},    {"5.", 5},        {"", 0},
        {"abc", 0},  {"-", 0},         {".", 0},       {"\r5", 0},       {"--5", 0},
        {"4,5", 4},  {"1E-999", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
    EXPECT_EQ(leadingNumber("1E999"), INFINITY);
    EXPECT_EQ(leadingNumber("-1E999"), -INFINITY);
}

TEST(IsNumericWhole, AcceptsOneNumberWithSurroundingBlanksOnly) {
    const struct {
        std::string text;
        bool numeric;
    } cases[] = {
        {"25", true},   {" 25.5 ", true}, {"-8", true},    {"+8", true},     {"1E3", true},
        {".5", true},   {"5.", true},     {"\t7\t", true}, {"", false},      {"  ", false},
        {"abc", false}, {"25a", false},   {"2 5", false},  {"1.2.3", false}, {"-", false},
        {".", false},   {"1E", false},    {"25,0", false}, {"--5", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isNumericWhole(c.text), c.numeric) << '"' << c.text << '"';
}

}  // namespace
}  // namespace qz
