#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

namespace qz::test {

PromptAnswer ScriptedPrompts::message(const std::string& text, PromptIcon icon,
                                      PromptButtons buttons, const std::string& title,
                                      const std::string& detail) {
    shown_.push_back({ShownPrompt::Kind::Message, text, icon, buttons, title, {}, detail});
    if (onMessage) onMessage(shown_.back());
    if (answers_.empty()) {
        ADD_FAILURE() << "unexpected message box \"" << text << "\" titled \"" << title << "\"";
        return PromptAnswer::Cancel;
    }
    const PromptAnswer next = answers_.front();
    answers_.pop_front();
    return next;
}

std::optional<std::string> ScriptedPrompts::input(const std::string& prompt,
                                                  const std::string& title, const std::string&) {
    shown_.push_back({ShownPrompt::Kind::Input,
                      prompt,
                      PromptIcon::None,
                      PromptButtons::OKCancel,
                      title,
                      {},
                      {}});
    if (inputs_.empty()) {
        ADD_FAILURE() << "unexpected input box \"" << prompt << "\"";
        return std::nullopt;
    }
    auto next = inputs_.front();
    inputs_.pop_front();
    return next;
}

std::string ScriptedPrompts::nextFile(ShownPrompt::Kind kind, const std::string& title,
                                      const std::string& filter, const std::string& proposedName) {
    shown_.push_back({kind, "", PromptIcon::None, PromptButtons::OK, title, filter, proposedName});
    if (files_.empty()) {
        ADD_FAILURE() << "unexpected file dialog \"" << title << "\"";
        return {};
    }
    auto next = files_.front();
    files_.pop_front();
    return next;
}

std::string ScriptedPrompts::openFileName(const std::string& title, const std::string& filter) {
    return nextFile(ShownPrompt::Kind::OpenFile, title, filter);
}

std::string ScriptedPrompts::saveFileName(const std::string& title, const std::string& filter,
                                          const std::string& proposedName) {
    return nextFile(ShownPrompt::Kind::SaveFile, title, filter, proposedName);
}

std::vector<std::string> ScriptedPrompts::messages() const {
    std::vector<std::string> texts;
    for (const auto& shown : shown_)
        if (shown.kind == ShownPrompt::Kind::Message) texts.push_back(shown.text);
    return texts;
}

}  // namespace qz::test
