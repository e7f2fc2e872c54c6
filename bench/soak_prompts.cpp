#include "soak_prompts.h"

#include <vector>

#include "soak_looping.h"

namespace qz::soak {
namespace {

using enum PromptAnswer;

// A transfer shows a handful of boxes; an error trap answered Ignore may show a few more.
constexpr int kLoopingBoxes = 200;

std::vector<PromptAnswer> buttonsOf(PromptButtons buttons) {
    switch (buttons) {
        case PromptButtons::OK:
            return {OK};
        case PromptButtons::OKCancel:
            return {OK, Cancel};
        case PromptButtons::YesNoCancel:
            return {Yes, No, Cancel};
        case PromptButtons::YesNo:
            return {Yes, No};
        case PromptButtons::RetryCancel:
            return {Retry, Cancel};
        case PromptButtons::AbortRetryIgnore:
            return {Abort, Retry, Ignore};
    }
    return {OK};
}

}  // namespace

PromptAnswer RandomPrompts::message(const std::string&, PromptIcon, PromptButtons buttons,
                                    const std::string&, const std::string&) {
    if (++shown_ > kLoopingBoxes) throw Looping{};
    std::vector<PromptAnswer> choices = buttonsOf(buttons);
    if (retries_ >= maxRetries_ && choices.size() > 1) std::erase(choices, Retry);
    const PromptAnswer answer = choices[random_() % choices.size()];
    if (answer == Retry) ++retries_;
    if (buttons == PromptButtons::AbortRetryIgnore) {
        ++answered_[static_cast<int>(answer)];
        if (!firstError_) firstError_ = answer;
    } else {
        ++otherBoxes_;
    }
    return answer;
}

}  // namespace qz::soak
