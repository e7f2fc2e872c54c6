#include "core/error_trap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/program_error.h"
#include "support/scripted_prompts.h"

namespace qz {
namespace {

using test::ScriptedPrompts;

// Three steps, the second failing once: its description shown with Abort, Retry and Ignore
// under "Error", and what ran for each answer.
TEST(ErrorTrap, RetryRunsTheStepAgainIgnoreGoesOnAbortLeavesThroughTheCleanUp) {
    const struct {
        PromptAnswer answer;
        std::vector<std::string> ran;
        bool completed;
    } cases[] = {
        {PromptAnswer::Retry, {"one", "two", "two", "three"}, true},
        {PromptAnswer::Ignore, {"one", "two", "three"}, true},
        {PromptAnswer::Abort, {"one", "two", "cleanup"}, false},
    };
    for (const auto& c : cases) {
        ScriptedPrompts prompts;
        prompts.answer(c.answer);
        std::vector<std::string> ran;
        ErrorTrap trap(prompts, [&] { ran.push_back("cleanup"); });
        bool failedOnce = false;
        const bool completed = trap.run([&] {
            trap.step([&] { ran.push_back("one"); });
            trap.step(
                [&] {
                    ran.push_back("two");
                    if (!failedOnce) {
                        failedOnce = true;
                        throw appError("File Open", "Canceled File Open");
                    }
                },
                "open");
            trap.step([&] { ran.push_back("three"); });
        });
        EXPECT_EQ(ran, c.ran);
        EXPECT_EQ(completed, c.completed);
        EXPECT_EQ(trap.aborted(), !c.completed);
        ASSERT_EQ(prompts.shown().size(), 1u);
        const auto& shown = prompts.shown()[0];
        EXPECT_EQ(shown.text, "Canceled File Open");
        EXPECT_EQ(shown.icon, PromptIcon::Critical);
        EXPECT_EQ(shown.buttons, PromptButtons::AbortRetryIgnore);
        EXPECT_EQ(shown.title, "Error");
        ASSERT_EQ(trap.failures().size(), 1u);
        EXPECT_EQ(trap.failures()[0].step, "open");
    }
}

}  // namespace
}  // namespace qz
