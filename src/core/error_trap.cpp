#include "core/error_trap.h"

#include <exception>
#include <utility>

namespace qz {

ErrorTrap::ErrorTrap(Prompts& prompts, std::function<void()> cleanup)
    : prompts_(prompts), cleanup_(std::move(cleanup)) {}

bool ErrorTrap::run(const std::function<void()>& body) {
    try {
        body();
    } catch (const Aborted&) {
        aborted_ = true;
        if (cleanup_) cleanup_();
        return false;
    }
    return true;
}

void ErrorTrap::step(const std::function<void()>& action, std::string_view name) {
    for (;;) {
        std::string description;
        try {
            action();
            return;
        } catch (const std::exception& error) {
            description = error.what();
        }
        const PromptAnswer answer = prompts_.message(description, PromptIcon::Critical,
                                                     PromptButtons::AbortRetryIgnore, "Error");
        failures_.push_back({std::string(name), description, answer});
        if (answer == PromptAnswer::Retry) continue;
        if (answer == PromptAnswer::Ignore) return;
        throw Aborted{};
    }
}

void runTrapped(Prompts& prompts, const std::function<void()>& body) {
    ErrorTrap trap(prompts);
    trap.run([&] { trap.step(body); });
}

}  // namespace qz
