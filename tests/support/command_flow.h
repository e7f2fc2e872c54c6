#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <functional>
#include <string>
#include <vector>

#include "support/editor_fixture.h"
#include "support/grid_input.h"
#include "support/scripted_port.h"

namespace qz::test {

// One command through the real window as a row of a table: what the user had before, the
// command, the answers given, and the message boxes and dialogs the user then sees.
struct CommandFlow {
    const char* why;
    std::uint8_t tune = 0;     // the tune opened first; 0: none, the buffer empty
    bool typed = false;        // its table opened and cell (1, 3) typed as 12
    const char* command = "";  // a menu item, or "close" for the window's close box
    std::vector<PromptAnswer> answers = {};
    std::vector<std::string> messages = {};
    std::vector<std::string> dialogs = {};
    std::function<void(EditorFixture&)> before = {};
    // What else holds afterwards; `ended` is what the command returned ("close": closed).
    std::function<void(EditorFixture&, bool ended)> after = {};
    std::vector<std::string> files = {};  // the file dialogs' answers; {tune} and {folder} expand
};

inline std::string expand(const std::string& text, const EditorFixture& f) {
    return QString::fromStdString(text)
        .replace("{tune}", QString::fromStdString(f.path))
        .replace("{folder}", f.folder.path() + "/")
        .toStdString();
}

inline void runCommandFlow(const CommandFlow& flow) {
    SCOPED_TRACE(flow.why);
    EditorFixture f(flow.tune);
    f.window->transfers().usePort(
        std::make_unique<ScriptedPort>(ModuleSimulator(demoTune(), kDefaultSimulatorId)));
    f.window->transfers().protocol().delay = [](int) {};
    if (flow.typed) {
        f.window->mnuEditTimingTable->trigger();
        EXPECT_TRUE(typeIntoCell(f.grid(), 1, 3, "12"));
    }
    if (flow.before) flow.before(f);
    for (PromptAnswer answer : flow.answers) f.prompts.answer(answer);
    for (const std::string& file : flow.files) f.prompts.answerFile(expand(file, f));
    f.dialogsShown.clear();
    std::vector<std::string> expected = f.prompts.messages();  // those before the command
    for (const std::string& message : flow.messages) expected.push_back(expand(message, f));
    bool ended = true;
    if (flow.command == std::string("close"))
        ended = f.window->close();
    else
        named<QAction>(*f.window, flow.command).trigger();
    EXPECT_EQ(f.prompts.messages(), expected);
    EXPECT_EQ(f.dialogsShown, flow.dialogs);
    EXPECT_TRUE(f.prompts.allAnswersUsed());
    if (flow.after) flow.after(f, ended);
}

}  // namespace qz::test
