#pragma once

#include <array>
#include <random>

#include "core/prompts.h"

namespace qz::soak {

// Every message box answered with one of its own buttons at random, as by a tuner clicking
// anything. Retry is held back after `maxRetries` in one transfer: an error shown again on
// each Retry would otherwise keep a transfer going for as long as the dice say Retry. More
// boxes in one transfer than a few retries can explain throw Looping.
class RandomPrompts : public Prompts {
  public:
    RandomPrompts(std::mt19937_64& random, int maxRetries)
        : random_(random), maxRetries_(maxRetries) {}

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

    // How often each answer was given to an error (Abort, Retry, Ignore), and other boxes.
    int errorAnswers(PromptAnswer answer) const { return answered_[static_cast<int>(answer)]; }
    int otherBoxes() const { return otherBoxes_; }
    bool retriesSpent() const { return retries_ >= maxRetries_; }
    std::optional<PromptAnswer> firstError() const { return firstError_; }

  private:
    std::mt19937_64& random_;
    int maxRetries_;
    int retries_ = 0;
    int otherBoxes_ = 0;
    int shown_ = 0;
    std::optional<PromptAnswer> firstError_;
    std::array<int, 7> answered_{};
};

}  // namespace qz::soak
