#include "core/error_trap.h"

#include <exception>
#include <utility>

namespace qz {
namespace {

// The description of whatever a step threw.
std::string describeCurrentException() {
    try {
        throw;
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "Unexpected error.";
    }
}

}  // namespace

ErrorTrap::ErrorTrap(Prompts& prompts, std::function<void()> cleanup)
    : prompts_(prompts), cleanup_(std::move(cleanup)) {}

bool ErrorTrap::run(const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const Aborted&) {
        aborted_ = true;
    } catch (...) {
        const std::string description = describeCurrentException();
        const PromptAnswer answer =
            prompts_.message(description, PromptIcon::Critical, PromptButtons::OK, "Error");
        failures_.push_back({{}, description, answer});
    }
    if (cleanup_) cleanup_();
    return false;
}

void ErrorTrap::step(const std::function<void()>& action, std::string_view name) {
    for (;;) {
        std::string description;
        try {
            action();
            return;
        } catch (const Aborted&) {
            throw;  // a nested step's Abort leaves the whole procedure
        } catch (...) {
            description = describeCurrentException();
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
