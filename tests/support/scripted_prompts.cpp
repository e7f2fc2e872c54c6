#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace qz::test {
namespace {

// The next answer queued for a prompt, or a failure and `none` when there is none.
template <typename T>
T nextAnswer(std::deque<T>& queue, T none, const ShownPrompt& shown) {
    if (queue.empty()) {
        ADD_FAILURE() << "unexpected prompt \"" << shown.text << "\" titled \"" << shown.title
                      << "\"";
        return none;
    }
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

}  // namespace

PromptAnswer ScriptedPrompts::message(const std::string& text, PromptIcon icon,
                                      PromptButtons buttons, const std::string& title,
                                      const std::string& detail) {
    shown_.push_back({ShownPrompt::Kind::Message, text, icon, buttons, title, {}, detail});
    if (onMessage) onMessage(shown_.back());
    return nextAnswer(answers_, PromptAnswer::Cancel, shown_.back());
}

std::optional<std::string> ScriptedPrompts::input(const std::string& prompt,
                                                  const std::string& title, const std::string&) {
    shown_.push_back({.kind = ShownPrompt::Kind::Input,
                      .text = prompt,
                      .buttons = PromptButtons::OKCancel,
                      .title = title});
    return nextAnswer(inputs_, std::optional<std::string>(), shown_.back());
}

std::string ScriptedPrompts::openFileName(const std::string& title, const std::string& filter) {
    shown_.push_back({.kind = ShownPrompt::Kind::OpenFile, .title = title, .filter = filter});
    return nextAnswer(files_, std::string(), shown_.back());
}

std::string ScriptedPrompts::saveFileName(const std::string& title, const std::string& filter,
                                          const std::string& proposedName) {
    shown_.push_back({.kind = ShownPrompt::Kind::SaveFile,
                      .title = title,
                      .filter = filter,
                      .detail = proposedName});
    return nextAnswer(files_, std::string(), shown_.back());
}

std::vector<std::string> ScriptedPrompts::messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : shown_)
        if (shown.kind == ShownPrompt::Kind::Message) texts.push_back(shown.text);
    return texts;
}

}  // namespace qz::test
