#include "core/error_trap.h"

#include <exception>
#include <utility>

#include "core/program_error.h"

namespace qz {
namespace {

// The description of whatever a step threw, and the program's detail of it, if any.
struct Described {
    std::string description;
    std::string detail;
};

Described describeCurrentException() {
    try {
        throw;
    } catch (const ProgramError& error) {
        return {error.what(), error.detail()};
    } catch (const std::exception& error) {
        return {error.what(), {}};
    } catch (...) {
        return {"Unexpected error.", {}};
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
        const Described failure = describeCurrentException();
        const PromptAnswer answer = prompts_.message(failure.description, PromptIcon::Critical,
                                                     PromptButtons::OK, "Error", failure.detail);
        failures_.push_back({{}, failure.description, answer});
    }
    if (cleanup_) cleanup_();
    return false;
}

void ErrorTrap::step(const std::function<void()>& action, std::string_view name) {
    for (;;) {
        Described failure;
        try {
            action();
            return;
        } catch (const Aborted&) {
            throw;  // a nested step's Abort leaves the whole procedure
        } catch (...) {
            failure = describeCurrentException();
        }
        const PromptAnswer answer =
            prompts_.message(failure.description, PromptIcon::Critical,
                             PromptButtons::AbortRetryIgnore, "Error", failure.detail);
        failures_.push_back({std::string(name), failure.description, answer});
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
