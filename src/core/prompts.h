#pragma once

#include <optional>
#include <string>

namespace qz {

enum class PromptIcon { None, Critical, Exclamation, Information };

enum class PromptButtons { OK, OKCancel, YesNoCancel, YesNo, RetryCancel, AbortRetryIgnore };

enum class PromptAnswer { OK, Cancel, Abort, Retry, Ignore, Yes, No };

// Every message box, question, input box and file dialog of the program goes through this
// interface: the windows use a Qt implementation, tests a scripted one.
class Prompts {
  public:
    virtual ~Prompts() = default;

    // A modal message box; returns the button pressed. `detail`, when given, is shown on
    // request below the text (a list too long for the box itself).
    virtual PromptAnswer message(const std::string& text, PromptIcon icon, PromptButtons buttons,
                                 const std::string& title, const std::string& detail = {}) = 0;

    // An input box; nullopt when the user cancels.
    virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) = 0;

    // The open-file and save-file dialogs. `filter` is "Display text|pattern"; the result is
    // the chosen file's full path, or empty when the user left the dialog without a choice.
    // The save dialog proposes `proposedName` (a file name or a path) when one is given.
    virtual std::string openFileName(const std::string& title, const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& title, const std::string& filter,
                                     const std::string& proposedName = {}) = 0;
};

}  // namespace qz
