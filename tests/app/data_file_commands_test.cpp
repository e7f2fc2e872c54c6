#include <gtest/gtest.h>

#include <QDir>

#include "files/program_folder.h"
#include "support/command_flow.h"
#include "support/file_size_limit.h"

namespace qz {
namespace {

using test::CommandFlow;
using test::EditorFixture;
using test::k2D;
using test::k3D;
constexpr auto OK = PromptAnswer::OK, Cancel = PromptAnswer::Cancel;

// A data file of `size` bytes: trigger timing 25, the table flags and sensor given.
QByteArray image(int size, std::uint8_t flags = 0x5C, std::uint8_t sensor = 1) {
    QByteArray bytes(size, '\0');
    for (int n = 0; n < size; ++n) bytes[n] = static_cast<char>((n * 7) & 0x3F);
    if (size > 40) {
        bytes[48 - 16] = 25;  // trigger timing
        bytes[50 - 16] = static_cast<char>(flags);
        bytes[55 - 16] = static_cast<char>(sensor);
        bytes[74 - 16] = 0;   // a frequency that decodes
        bytes[52 - 16] = 30;  // retard compensation and start retard the sliders can show
        bytes[53 - 16] = 57;
    }
    return bytes;
}

// Open File reads the first 264 bytes; the table commands follow the image's selection, and
// the 3D view takes its sensor; the module parameters dialog opens.
TEST(OpenFile, LoadsTheFirst264BytesAndOpensTheModuleParameters) {
    const struct {
        int size;
        std::uint8_t flags;
        bool tableCommands;
    } cases[] = {{264, 0x5C, true}, {300, 0x80, true}, {264, 0x1C, false}};
    for (const auto& c : cases) {
        test::MainWindowFixture f;
        const auto path = f.folder.write("street.dat", image(c.size, c.flags, 2));
        f.prompts.answerFile(path);
        f.prompts.answer(OK);
        f.window->mnuOpenFile->trigger();
        EXPECT_EQ(f.prompts.messages(),
                  std::vector<std::string>{"Loaded " + path +
                                           " to buffer. Ready for editing or upload."});
        EXPECT_EQ(f.prompts.shown()[0].filter, "QZ-1 data files (*.dat)|*.dat");
        EXPECT_EQ(f.prompts.shown()[1].title, "Open Data File");
        EXPECT_EQ(f.state.EEPROMBuffer[16 + 263], (263 * 7) & 0x3F);
        EXPECT_EQ(f.state.TrigTiming, 25);
        EXPECT_EQ(f.state.ModuleType, "");
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - street.dat");
        for (QAction* command :
             {f.window->mnuEditTimingTable, f.window->mnuSaveTbl, f.window->mnuCloseTbl})
            EXPECT_EQ(command->isEnabled(), c.tableCommands) << int(c.flags);
        if (c.flags & 0x80) {
            EXPECT_EQ(f.grid(TableKind::Table3D).cellText(8, 0), "90") << "3-bar labels";
        }
        EXPECT_EQ(f.dialogsShown, std::vector<std::string>{"frmModParams"});
    }
}

// A stored frequency above 32767 stops decoding with "Overflow" just after the buffer was
// cleared for the new file, which shows the caption of that moment.
TEST(OpenFile, TheCaptionSaysTheBufferIsEmptyWhileTheFileIsDecoded) {
    test::MainWindowFixture f;
    QByteArray bytes = image(264);
    bytes[74 - 16] = static_cast<char>(0x90);
    f.prompts.answerFile(f.folder.write("fast.dat", bytes));
    f.prompts.answer(PromptAnswer::Ignore);
    f.prompts.answer(OK);
    std::vector<std::string> captions;
    f.prompts.onMessage = [&](const test::ShownPrompt&) { captions.push_back(f.caption()); };
    f.window->mnuOpenFile->trigger();
    EXPECT_EQ(f.prompts.messages().at(0), "Overflow");
    EXPECT_EQ(captions, (std::vector<std::string>{"Tunewell QZ Version 1.5 - Data Buffer Empty",
                                                  "Tunewell QZ Version 1.5 - fast.dat"}));
    EXPECT_EQ(f.state.GPIO2VSSFreq, 150) << "Ignore kept the value in force";
}

// Nothing the user had is lost until a whole file has been read or written: the buffer,
// the caption and an open table stay as they were.
TEST(DataFiles, CancelsAndFailuresLeaveEverythingAsItWas) {
    const std::string overwrite = "Data buffer not empty. OK to overwrite?";
    const auto kept = [](EditorFixture& f, bool) {
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - tune.dat");
        EXPECT_EQ(f.folder.read("tune.dat"), test::tuneFile(k2D)) << "the file as it was";
    };
    const auto unchanged = [&, overwrite](EditorFixture& f, bool ended) {
        kept(f, ended);
        EXPECT_EQ(f.state.EEPROMBuffer, f.opened);
        EXPECT_TRUE(f.window->editor().tableOpen());
        EXPECT_TRUE(f.dialogsShown.empty());
        const test::ShownPrompt& question =
            *std::find_if(f.prompts.shown().begin(), f.prompts.shown().end(),
                          [&](const test::ShownPrompt& shown) { return shown.text == overwrite; });
        EXPECT_EQ(
            std::tuple(question.buttons, question.title, question.icon),
            std::tuple(PromptButtons::OKCancel, std::string("Open Data File"), PromptIcon::None));
    };
    const auto prematureEnd = [&](EditorFixture& f, bool ended) {
        unchanged(f, ended);
        EXPECT_EQ(std::pair(f.prompts.shown().back().icon, f.prompts.shown().back().title),
                  std::pair(PromptIcon::Exclamation, std::string("Open Data File")));
    };
    const auto files = [](EditorFixture& f) {
        f.window->mnuEditTimingTable->trigger();
        f.folder.write("short.dat", image(263));
        test::makeFifo(f.folder.file("pipe.dat"));
    };
    // clang-format off
    const CommandFlow flows[] = {
        {"open, Cancel", k2D, false, "mnuOpenFile", {Cancel}, {overwrite}, {}, files, unchanged},
        {"open, dialog left", k2D, false, "mnuOpenFile", {OK}, {overwrite}, {}, files, unchanged, {""}},
        {"open, 263 bytes", k2D, false, "mnuOpenFile", {OK, OK}, {overwrite, "Error - reached premature end-of-file"}, {}, files, prematureEnd, {"{folder}short.dat"}},
        {"open, a pipe", k2D, false, "mnuOpenFile", {OK, PromptAnswer::Abort}, {overwrite, "{folder}pipe.dat: not a regular file"}, {}, files, unchanged, {"{folder}pipe.dat"}},
        {"save over it, Cancel", k2D, false, "mnuSaveFile", {Cancel, PromptAnswer::Ignore}, {"{tune}\nThis file already exists.\n\nReplace existing file?", "Canceled File Save"}, {}, {}, kept, {"{tune}"}},
        {"save to no folder", k2D, false, "mnuSaveFile", {PromptAnswer::Ignore}, {"{folder}none/x.dat: No such file or directory"}, {}, {}, kept, {"{folder}none/x.dat"}},
    };
    // clang-format on
    for (const CommandFlow& flow : flows) test::runCommandFlow(flow);
}

// Beside the executable (the build folder), else ../share/tunewell-qz (an installed package).
TEST(ProgramFolder, IsBesideTheExecutableOrInTheSharedFolder) {
    test::TempFolder root;
    QDir(root.folderPath()).mkpath("usr/bin");
    QDir(root.folderPath()).mkpath("usr/share/tunewell-qz");
    const QString bin = root.folderPath() + "/usr/bin";
    EXPECT_EQ(findProgramFolder(bin), bin) << "nothing anywhere: beside it, as before";
    root.write("usr/share/tunewell-qz/QZ_2D_Timing_Chart.oc2", "qz-chart-template 1\n");
    EXPECT_EQ(findProgramFolder(bin), root.folderPath() + "/usr/share/tunewell-qz");
    root.write("usr/bin/QZ_2D_Timing_Chart.oc2", "qz-chart-template 1\n");
    EXPECT_EQ(findProgramFolder(bin), bin);
}

// Opened and saved, a file comes back byte for byte; a name without an extension gets .dat,
// and the dialog proposes the file the buffer came from.
TEST(SaveFile, OpenThenSaveWritesAByteIdenticalFile) {
    test::MainWindowFixture f;
    f.prompts.answerFile(f.folder.write("in.dat", image(264)));
    f.prompts.answer(OK);
    f.window->mnuOpenFile->trigger();
    f.prompts.answerFile(f.folder.file("first.dat"));
    f.window->mnuSaveFile->trigger();
    const QByteArray first = f.folder.read("first.dat");
    ASSERT_EQ(first.size(), 264);
    f.prompts.answer(OK);
    f.prompts.answerFile(f.folder.file("first.dat"));
    f.prompts.answer(OK);
    f.window->mnuOpenFile->trigger();
    f.prompts.answerFile(f.folder.file("second"));
    f.window->mnuSaveFile->trigger();
    EXPECT_EQ(f.prompts.shown().back().detail, f.folder.file("first.dat")) << "proposed";
    EXPECT_EQ(f.folder.read("second.dat"), first);
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - second.dat");
}

}  // namespace
}  // namespace qz
