#include "files/file_dialogs.h"

#include <gtest/gtest.h>

#include "core/program_error.h"
#include "support/file_size_limit.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"

namespace qz {
namespace {

using test::ScriptedPrompts;
using test::ShownPrompt;

// The file dialog's answers ("EXISTING", "MISSING", ...), the answers to the message shown,
// the result ("throws" for the function's Canceled error), how many file dialogs were shown,
// and the message, "PATH" standing for the first file answered.
struct DialogCase {
    const char* name;
    std::vector<std::string> files;
    std::vector<PromptAnswer> answers;
    std::string prompt;
    std::string result;
    int dialogs;
    std::string message = {};
    PromptButtons buttons = PromptButtons::YesNoCancel;
};

std::string resolve(const std::string& token, const test::TempFolder& folder) {
    if (token == "EXISTING") return folder.path("tune.dat");
    if (token == "MISSING") return folder.path("missing.dat");
    if (token == "NO EXTENSION") return folder.path("tune");
    if (token == "PIPE") return test::makeFifo(folder.path("pipe.dat"));
    return token;
}

// An empty filter shows all files.
template <typename Function>
void runCases(const std::vector<DialogCase>& cases, Function function, const std::string& title,
              const std::string& filter, std::uint32_t number) {
    for (const auto& c : cases) {
        test::TempFolder folder;
        folder.write("tune.dat", QByteArray(264, '\0'));
        ScriptedPrompts prompts;
        for (const auto& file : c.files) prompts.answerFile(resolve(file, folder));
        for (auto answer : c.answers) prompts.answer(answer);
        std::string result;
        try {
            result = function(prompts, filter, c.prompt);
        } catch (const ProgramError& error) {
            result = "throws";
            EXPECT_EQ(error.description(), "Canceled " + title) << c.name;
            EXPECT_EQ(error.number(), number) << c.name;
        }
        EXPECT_EQ(result, c.result == "throws" ? "throws" : resolve(c.result, folder)) << c.name;
        int dialogs = 0;
        std::vector<ShownPrompt> messages;
        for (const auto& shown : prompts.shown()) {
            if (shown.kind == ShownPrompt::Kind::Message) {
                messages.push_back(shown);
            } else {
                ++dialogs;
                EXPECT_EQ(shown.filter, filter.empty() ? "All Files (*.*)|*.*" : filter);
            }
        }
        EXPECT_EQ(dialogs, c.dialogs) << c.name;
        EXPECT_TRUE(prompts.allAnswersUsed()) << c.name;
        if (c.message.empty()) continue;
        ASSERT_EQ(messages.size(), 1u) << c.name;
        const std::string path = resolve(c.files.front(), folder);
        EXPECT_EQ(messages[0].text, path + c.message.substr(4)) << c.name;
        EXPECT_EQ(messages[0].title, title) << c.name;
        EXPECT_EQ(messages[0].icon, PromptIcon::Exclamation) << c.name;
        EXPECT_EQ(messages[0].buttons, c.buttons) << c.name;
    }
}

using A = PromptAnswer;
using B = PromptButtons;

TEST(FileOpen, ChecksThatTheChosenFileExists) {
    const std::string notFound = "PATH\nFile not found.";
    const std::string create = notFound + "\n\nCreate it?";
    // clang-format off
    const std::vector<DialogCase> cases = {
        {"chosen", {"EXISTING"}, {}, "", "EXISTING", 1},
        {"dialog left", {""}, {}, "", "", 1},
        {"retry", {"MISSING", "EXISTING"}, {A::Retry}, "", "EXISTING", 2, notFound, B::RetryCancel},
        {"cancel", {"MISSING"}, {A::Cancel}, "", "throws", 1, notFound, B::RetryCancel},
        {"yes with a prompt", {"MISSING"}, {A::Yes}, "Create it?", "MISSING", 1, create},
        {"no with a prompt", {"MISSING"}, {A::No}, "Create it?", "", 1, create},
    };
    // clang-format on
    runCases(
        cases,
        [](Prompts& prompts, const std::string& filter, const std::string& prompt) {
            return FileOpen(prompts, "Open File", filter, prompt);
        },
        "File Open", kDataFileFilter, kAppErrorNumber);
}

// A folder or a pipe is never replaced: said so, and the dialog again.
TEST(FileSave, AsksBeforeReplacingAnExistingFile) {
    const std::string replace = "PATH\nThis file already exists.\n\nReplace existing file?";
    const std::string pipe =
        "PATH\nThis is not a regular file and cannot be replaced. Choose another name.";
    // clang-format off
    const std::vector<DialogCase> cases = {
        {"new file", {"MISSING"}, {}, "", "MISSING", 1},
        {"dialog left", {""}, {}, "", "", 1},
        {"replace", {"EXISTING"}, {A::Yes}, "", "EXISTING", 1, replace},
        {"choose again", {"EXISTING", "MISSING"}, {A::No}, "", "MISSING", 2, replace},
        {"cancel", {"EXISTING"}, {A::Cancel}, "", "throws", 1, replace},
        {"extension added", {"NO EXTENSION"}, {A::Yes}, "", "EXISTING", 1},
        {"not a regular file", {"PIPE", "MISSING"}, {A::OK}, "", "MISSING", 2, pipe, B::OK},
    };
    // clang-format on
    runCases(
        cases,
        [](Prompts& prompts, const std::string& filter, const std::string& prompt) {
            return FileSave(prompts, "Save File", filter, prompt, "", "dat");
        },
        "File Save", "", kSaveDialogErrorNumber);
}

}  // namespace
}  // namespace qz
