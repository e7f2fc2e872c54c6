#pragma once

#include <QString>

#include "core/prompts.h"

namespace qz {

// The prompts as the user sees them: Qt message boxes, input boxes and file dialogs, each
// modal over the active window, with the ordinary arrow even while a transfer shows the busy
// cursor. The file dialogs open in the folder last used, which is kept per user.
class QtPrompts : public Prompts {
  public:
    PromptAnswer message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                         const std::string& title, const std::string& detail = {}) override;
    std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                     const std::string& defaultText) override;
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter,
                             const std::string& proposedName = {}) override;
};

// Where a file dialog opens: the folder last used while it still exists, otherwise the user's
// documents folder (the home folder where there is none), never the program's own folder,
// which an installed program cannot write to.
QString dialogStartFolder(const QString& remembered);

// A filter of the form "Display text|pattern|..." as Qt's file dialogs take it:
// "Display text (pattern);;...". "*.*" becomes "*", which matches every file here.
QString qtFileFilter(const std::string& filter);

}  // namespace qz
