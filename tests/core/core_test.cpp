#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "core/checked_convert.h"
#include "core/error_trap.h"
#include "core/leading_number.h"
#include "core/number_text.h"
#include "core/program_error.h"
#include "core/rounding.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

// Whole numbers and one decimal (5 * 214 / 255: the switch-on default reads 4.2 V).
TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbourAtBothSignsAndAtOneDecimal) {
    // clang-format off
    const struct {
        double value;
        int decimals;
        double expected;
    } cases[] = {
        {2.5, 0, 2}, {3.5, 0, 4}, {-1.5, 0, -2}, {-2.5, 0, -2}, {2.4999, 0, 2}, {2.5001, 0, 3},
        {-2.5001, 0, -3}, {32767.5, 0, 32768}, {5.0 * 214 / 255, 1, 4.2}, {5.0 * 204 / 255, 1, 4.0},
        {0.25, 1, 0.2}, {0.35, 1, 0.4}, {-0.25, 1, -0.2},
    };
    // clang-format on
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(c.decimals ? roundHalfEven(c.value, c.decimals) : roundHalfEven(c.value),
                         c.expected)
            << c.value;
}

// Rounded half to even, then checked: a value that does not fit fails with Overflow.
TEST(CheckedConvert, RoundsHalfToEvenThenChecksTheRange) {
    constexpr int kOverflow = 99999;
    // clang-format off
    const struct {
        bool toAByte;
        double value;
        int expected;
    } cases[] = {
        {true, 254.5, 254}, {true, -0.5, 0}, {true, 1.5, 2}, {false, 32766.5, 32766},
        {false, 32767.4, 32767}, {false, -32768.5, -32768}, {false, -1.5, -2},
        {true, 255.5, kOverflow}, {true, -0.6, kOverflow}, {true, NAN, kOverflow},
        {true, INFINITY, kOverflow}, {false, 32767.5, kOverflow}, {false, -32768.6, kOverflow},
    };
    // clang-format on
    for (const auto& c : cases) {
        int got = kOverflow;
        try {
            got = c.toAByte ? toByte(c.value) : toInteger(c.value);
        } catch (const ProgramError& error) {
            EXPECT_EQ(std::pair(error.description(), error.number()),
                      std::pair(std::string("Overflow"), kOverflowErrorNumber));
        }
        EXPECT_EQ(got, c.expected) << c.value;
    }
}

// The number at the start of a text, and whether the text is one number with blanks around
// it. Blanks (space, tab, line feed, not carriage return) are skipped wherever they stand in
// the leading number; at most one full stop; an exponent without digits is not taken; a comma
// is never a decimal point; an exponent beyond a double gives 0 or an infinity of the number's
// sign. A whole number may have carriage returns around it too.
TEST(LeadingNumber, ReadsTheNumberAtTheStartAndTellsWhetherItIsTheWholeText) {
    const struct {
        std::string text;
        double expected;
        bool whole;
    } cases[] = {
        // clang-format off
        {"25", 25, true}, {"  25.5", 25.5, true}, {" 25.5 ", 25.5, true}, {"\t\n-3", -3, true},
        {"+4.25", 4.25, true}, {"-8", -8, true}, {"1E3", 1000, true}, {"\t7\t", 7, true},
        {"25 degrees", 25, false}, {"2 5", 25, false}, {"1.2.3", 1.2, false},
        {"1.5e-1", 0.15, true}, {"1E", 1, false}, {"1E+", 1, false}, {"3x4", 3, false},
        {".5", 0.5, true}, {"5.", 5, true}, {"", 0, false}, {"  ", 0, false}, {"abc", 0, false},
        {"-", 0, false}, {".", 0, false}, {"\r5", 0, true}, {"--5", 0, false}, {"4,5", 4, false},
        {"1E-999", 0, true}, {"1E999", INFINITY, true}, {"-1E999", -INFINITY, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(leadingNumber(c.text), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(isNumericWhole(c.text), c.whole) << '"' << c.text << '"';
    }
}

// Zero and positive numbers get one leading blank, negative ones a minus sign.
TEST(NumberText, ShowsNumbersAsTheProgramAlwaysHas) {
    const struct {
        double value;
        std::string text;
        std::string plain;
    } cases[] = {
        {3000, " 3000", "3000"},
        {0, " 0", "0"},
        {-0.0, " 0", "0"},
        {-5, "-5", "-5"},
        {0.2637, " 0.2637", "0.2637"},
        {-4.25, "-4.25", "-4.25"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(std::pair(numberText(c.value), plainNumber(c.value)), std::pair(c.text, c.plain))
            << c.value;
    // A true half goes to the even neighbour; what shows as zero has no minus sign.
    const struct {
        double value;
        const char* pattern;
        std::string text;
    } patterns[] = {
        // clang-format off
        {25, "#0.0", "25.0"}, {0, "#0.0", "0.0"}, {7.5, "#0", "8"}, {6.5, "#0", "6"},
        {0.25, "#0.0", "0.2"}, {-0.04, "#0.0", "0.0"}, {-12.4145, "#0.0", "-12.4"},
        {10000, "###0", "10000"}, {5, "##00", "05"}, {6500, "##00", "6500"},
        {4.196, "0.0", "4.2"}, {0.096, "0.00", "0.10"},
        // clang-format on
    };
    for (const auto& c : patterns)
        EXPECT_EQ(formatNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
}

// Three steps, the second failing once: its description shown with Abort, Retry and Ignore
// under "Error", and what ran for each answer.
TEST(ErrorTrap, RetryRunsTheStepAgainIgnoreGoesOnAbortLeavesThroughTheCleanUp) {
    const struct {
        PromptAnswer answer;
        std::vector<std::string> ran;
    } cases[] = {
        {PromptAnswer::Retry, {"one", "two", "two", "three"}},
        {PromptAnswer::Ignore, {"one", "two", "three"}},
        {PromptAnswer::Abort, {"one", "two", "cleanup"}},
    };
    for (const auto& c : cases) {
        test::ScriptedPrompts prompts;
        prompts.answer(c.answer);
        std::vector<std::string> ran;
        ErrorTrap trap(prompts, [&] { ran.push_back("cleanup"); });
        bool failedOnce = false;
        const bool completed = trap.run([&] {
            trap.step([&] { ran.push_back("one"); });
            trap.step(
                [&] {
                    ran.push_back("two");
                    if (!std::exchange(failedOnce, true))
                        throw appError("File Open", "Canceled File Open");
                },
                "open");
            trap.step([&] { ran.push_back("three"); });
        });
        EXPECT_EQ(
            std::tuple(ran, completed, trap.aborted()),
            std::tuple(c.ran, c.answer != PromptAnswer::Abort, c.answer == PromptAnswer::Abort));
        ASSERT_EQ(prompts.shown().size(), 1u);
        const auto& shown = prompts.shown()[0];
        EXPECT_EQ(std::tuple(shown.text, shown.icon, shown.buttons, shown.title),
                  std::tuple("Canceled File Open", PromptIcon::Critical,
                             PromptButtons::AbortRetryIgnore, "Error"));
        ASSERT_EQ(trap.failures().size(), 1u);
        EXPECT_EQ(trap.failures()[0].step, "open");
    }
}

}  // namespace
}  // namespace qz
