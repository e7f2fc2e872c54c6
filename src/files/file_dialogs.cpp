#include "files/file_dialogs.h"

#include <QFile>
#include <QFileInfo>
#include <QString>

#include "core/error_trap.h"
#include "core/program_error.h"

namespace qz {
namespace {

constexpr auto kAllFiles = "All Files (*.*)|*.*";

bool fileExists(const std::string& name) {
    return QFile::exists(QString::fromStdString(name));
}

// Runs a dialog function under its own trap: Abort there becomes the function's own
// application error, which the calling command's trap reports.
template <typename Body>
std::string underOwnTrap(Prompts& prompts, const char* source, const char* aborted,
                         std::uint32_t number, Body body) {
    std::string result;
    bool cancelled = false;
    ErrorTrap trap(prompts);
    const bool completed = trap.run([&] { trap.step([&] { cancelled = !body(result); }); });
    if (!completed) throw appError(source, aborted, number);
    if (cancelled) throw appError(source, std::string("Canceled ") + source, number);
    return result;
}

}  // namespace

std::string FileOpen(Prompts& prompts, const std::string& title, const std::string& filter,
                     const std::string& prompt) {
    const std::string shownFilter = filter.empty() ? kAllFiles : filter;
    return underOwnTrap(
        prompts, "File Open", "Aborted File Open", kAppErrorNumber, [&](std::string& result) {
            for (;;) {
                result = prompts.openFileName(title, shownFilter);
                if (result.empty() || fileExists(result)) return true;
                std::string text = result + "\nFile not found.";
                if (!prompt.empty()) text += "\n\n" + prompt;
                const PromptAnswer answer = prompts.message(
                    text, PromptIcon::Exclamation,
                    prompt.empty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel,
                    "File Open");
                if (answer == PromptAnswer::Retry) continue;
                if (answer == PromptAnswer::Yes) return true;
                if (answer == PromptAnswer::No) {
                    result.clear();
                    return true;
                }
                return false;
            }
        });
}

std::string FileSave(Prompts& prompts, const std::string& title, const std::string& filter,
                     const std::string& prompt, const std::string& proposedName,
                     const std::string& defaultExtension) {
    const std::string shownFilter = filter.empty() ? kAllFiles : filter;
    const std::string question = prompt.empty() ? "Replace existing file?" : prompt;
    return underOwnTrap(
        prompts, "File Save", "Aborted File Save", kSaveDialogErrorNumber,
        [&](std::string& result) {
            for (;;) {
                result = prompts.saveFileName(title, shownFilter, proposedName);
                if (!result.empty() && !defaultExtension.empty() &&
                    QFileInfo(QString::fromStdString(result)).suffix().isEmpty())
                    result += "." + defaultExtension;
                if (result.empty() || !fileExists(result)) return true;
                // A device, a pipe or a folder is never replaced by a file.
                if (!QFileInfo(QString::fromStdString(result)).isFile()) {
                    prompts.message(result +
                                        "\nThis is not a regular file and cannot "
                                        "be replaced. Choose another name.",
                                    PromptIcon::Exclamation, PromptButtons::OK, "File Save");
                    continue;
                }
                const PromptAnswer answer = prompts.message(
                    result + "\nThis file already exists.\n\n" + question, PromptIcon::Exclamation,
                    PromptButtons::YesNoCancel, "File Save");
                if (answer == PromptAnswer::Yes) return true;
                if (answer != PromptAnswer::No) return false;
            }
        });
}

}  // namespace qz
