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

struct DialogCase {
    const char* name;
    std::vector<std::string> files;     // the dialog's answers; "EXISTING" or "MISSING"
    std::vector<PromptAnswer> answers;  // answers to the questions
    std::string prompt;
    std::string result;  // "EXISTING", "MISSING", "" or "throws"
    int dialogs;
};

std::string resolve(const std::string& token, const test::TempFolder& folder) {
    if (token == "EXISTING") return folder.path("tune.dat");
    if (token == "MISSING") return folder.path("missing.dat");
    if (token == "NO EXTENSION") return folder.path("tune");
    if (token == "PIPE") return test::makeFifo(folder.path("pipe.dat"));
    return token;
}

template <typename Function>
void runCases(const std::vector<DialogCase>& cases, Function function, const std::string& canceled,
              std::uint32_t number) {
    for (const auto& c : cases) {
        test::TempFolder folder;
        folder.write("tune.dat", QByteArray(264, '\0'));
        ScriptedPrompts prompts;
        for (const auto& file : c.files) prompts.answerFile(resolve(file, folder));
        for (auto answer : c.answers) prompts.answer(answer);
        std::string result;
        try {
            result = function(prompts, "Open File", kDataFileFilter, c.prompt);
        } catch (const ProgramError& error) {
            result = "throws";
            EXPECT_EQ(error.description(), canceled) << c.name;
            EXPECT_EQ(error.number(), number) << c.name;
        }
        EXPECT_EQ(result, c.result == "throws" ? "throws" : resolve(c.result, folder)) << c.name;
        int dialogs = 0;
        for (const auto& shown : prompts.shown())
            dialogs += shown.kind != ShownPrompt::Kind::Message;
        EXPECT_EQ(dialogs, c.dialogs) << c.name;
        EXPECT_TRUE(prompts.allAnswersUsed()) << c.name;
    }
}

TEST(FileOpen, ChecksThatTheChosenFileExists) {
    runCases(
        {
            {"chosen", {"EXISTING"}, {}, "", "EXISTING", 1},
            {"dialog left", {""}, {}, "", "", 1},
            {"retry", {"MISSING", "EXISTING"}, {PromptAnswer::Retry}, "", "EXISTING", 2},
            {"cancel", {"MISSING"}, {PromptAnswer::Cancel}, "", "throws", 1},
            {"yes with a prompt", {"MISSING"}, {PromptAnswer::Yes}, "Create it?", "MISSING", 1},
            {"no with a prompt", {"MISSING"}, {PromptAnswer::No}, "Create it?", "", 1},
        },
        [](Prompts& prompts, auto... arguments) { return FileOpen(prompts, arguments...); },
        "Canceled File Open", kAppErrorNumber);
}

TEST(FileOpen, SaysTheFileIsNotFoundWithTheButtonsOfThePrompt) {
    for (const std::string prompt : {"", "Create it?"}) {
        test::TempFolder folder;
        ScriptedPrompts prompts;
        prompts.answerFile(folder.path("missing.dat"));
        prompts.answer(PromptAnswer::Cancel);
        EXPECT_THROW(FileOpen(prompts, "Open File", "", prompt), ProgramError);
        const ShownPrompt& shown = prompts.shown().at(1);
        EXPECT_EQ(shown.text, folder.path("missing.dat") + "\nFile not found." +
                                  (prompt.empty() ? "" : "\n\n" + prompt));
        EXPECT_EQ(shown.title, "File Open");
        EXPECT_EQ(shown.icon, PromptIcon::Exclamation);
        EXPECT_EQ(shown.buttons,
                  prompt.empty() ? PromptButtons::RetryCancel : PromptButtons::YesNoCancel);
    }
}

TEST(FileSave, AsksBeforeReplacingAnExistingFile) {
    runCases(
        {
            {"new file", {"MISSING"}, {}, "", "MISSING", 1},
            {"dialog left", {""}, {}, "", "", 1},
            {"replace", {"EXISTING"}, {PromptAnswer::Yes}, "", "EXISTING", 1},
            {"choose again", {"EXISTING", "MISSING"}, {PromptAnswer::No}, "", "MISSING", 2},
            {"cancel", {"EXISTING"}, {PromptAnswer::Cancel}, "", "throws", 1},
            {"extension added", {"NO EXTENSION"}, {PromptAnswer::Yes}, "", "EXISTING", 1},
            // Never replaced: said so, and the dialog again.
            {"not a regular file", {"PIPE", "MISSING"}, {PromptAnswer::OK}, "", "MISSING", 2},
        },
        [](Prompts& prompts, auto... arguments) {
            return FileSave(prompts, arguments..., "", "dat");
        },
        "Canceled File Save", kSaveDialogErrorNumber);

    test::TempFolder folder;
    folder.write("tune.dat", QByteArray(264, '\0'));
    ScriptedPrompts prompts;
    prompts.answerFile(folder.path("tune.dat"));
    prompts.answer(PromptAnswer::Yes);
    FileSave(prompts, "Save File", "", "");
    EXPECT_EQ(prompts.shown().at(0).filter, "All Files (*.*)|*.*");
    const ShownPrompt& question = prompts.shown().at(1);
    EXPECT_EQ(question.text,
              folder.path("tune.dat") + "\nThis file already exists.\n\nReplace existing file?");
    EXPECT_EQ(question.title, "File Save");
    EXPECT_EQ(question.buttons, PromptButtons::YesNoCancel);
    EXPECT_EQ(question.icon, PromptIcon::Exclamation);
}

}  // namespace
}  // namespace qz
