#include "core/auto_prompts.h"

#include <sstream>

namespace qz {

PromptAnswer AutoPrompts::message(const std::string& text, PromptIcon, PromptButtons buttons,
                                  const std::string& title, const std::string& detail) {
    if (echo_) {
        *echo_ << title << ": " << text << '\n';
        std::istringstream lines(detail);
        for (std::string line; std::getline(lines, line);) *echo_ << "  " << line << '\n';
    }
    switch (buttons) {
        case PromptButtons::AbortRetryIgnore:
            return errorAnswer_;
        case PromptButtons::RetryCancel:
            return PromptAnswer::Cancel;
        case PromptButtons::YesNo:
        case PromptButtons::YesNoCancel:
            return PromptAnswer::Yes;
        case PromptButtons::OK:
        case PromptButtons::OKCancel:
            break;
    }
    return PromptAnswer::OK;
}

}  // namespace qz
