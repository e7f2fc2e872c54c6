#pragma once

#include <QString>

#include "core/prompts.h"

namespace qz {

// The prompts as the user sees them: Qt message boxes, input boxes and file dialogs, each
// modal over the active window.
class QtPrompts : public Prompts {
  public:
    PromptAnswer message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                         const std::string& title) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter) override;
};

// A filter of the form "Display text|pattern|..." as Qt's file dialogs take it:
// "Display text (pattern);;...". "*.*" becomes "*", which matches every file here.
QString qtFileFilter(const std::string& filter);

}  // namespace qz
