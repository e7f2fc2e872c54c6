#pragma once

#include <ostream>

#include "core/prompts.h"

namespace qz {

// Prompts answered without a user, for the command-line tool and the benchmarks: an error
// prompt (Abort, Retry, Ignore) gets `errorAnswer`, a Retry/Cancel question Cancel, a
// Yes/No question Yes and every other message OK. Each message is written to `echo`, when
// one is given, as "title: text" with its detail lines below; input boxes and file dialogs
// are left without a choice.
class AutoPrompts : public Prompts {
  public:
    explicit AutoPrompts(PromptAnswer errorAnswer, std::ostream* echo = nullptr)
        : errorAnswer_(errorAnswer), echo_(echo) {}

    PromptAnswer message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                         const std::string& title, const std::string& detail = {}) override;
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&,
                             const std::string& = {}) override {
        return {};
    }

  private:
    PromptAnswer errorAnswer_;
    std::ostream* echo_;
};

}  // namespace qz
