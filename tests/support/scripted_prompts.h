#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/prompts.h"

namespace qz::test {

// The answers as a table row writes them.
inline constexpr PromptAnswer Yes = PromptAnswer::Yes, No = PromptAnswer::No,
                              Cancel = PromptAnswer::Cancel, OK = PromptAnswer::OK;

// One prompt as the program showed it.
struct ShownPrompt {
    enum class Kind { Message, Input, OpenFile, SaveFile };
    Kind kind;
    std::string text;  // message text, input prompt; empty for file dialogs
    PromptIcon icon = PromptIcon::None;
    PromptButtons buttons = PromptButtons::OK;
    std::string title;
    std::string filter;  // file dialogs
    std::string detail;  // message boxes: the text shown on request; save dialog: the name proposed
};

// Answers prompts from queues and records every prompt shown, so a test can assert the
// exact text, icon, buttons and title. A prompt with no answer queued fails the test.
class ScriptedPrompts : public Prompts {
  public:
    void answer(PromptAnswer answer) { answers_.push_back(answer); }
    void answerInput(std::optional<std::string> text) { inputs_.push_back(std::move(text)); }
    void answerFile(std::string path) { files_.push_back(std::move(path)); }

    PromptAnswer message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                         const std::string& title, const std::string& detail = {}) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter,
                             const std::string& proposedName = {}) override;
    // The texts of the message boxes shown, in order.
    std::vector<std::string> messages() const;

    const std::vector<ShownPrompt>& shown() const { return shown_; }

    // Runs when a message box is shown, so a test can look at the program at that moment.
    std::function<void(const ShownPrompt&)> onMessage;
    bool allAnswersUsed() const { return answers_.empty() && inputs_.empty() && files_.empty(); }

  private:
    std::deque<PromptAnswer> answers_;
    std::deque<std::optional<std::string>> inputs_;
    std::deque<std::string> files_;
    std::vector<ShownPrompt> shown_;
};

}  // namespace qz::test
