#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

#include "files/configuration.h"
#include "files/program_folder.h"
#include "image/buffer_baseline.h"
#include "image/cell_encoding.h"
#include "support/command_flow.h"
#include "support/file_size_limit.h"

namespace qz {
namespace {

using test::Cancel;
using test::CommandFlow;
using test::EditorFixture;
using test::k2D;
using test::k3D;
using test::No;
using test::OK;
using test::Yes;

const std::string kSaveTable = "Save table edits to buffer before closing?";
const std::string kWizardSave = "Save timing table before closing file?";
const std::string kOverwrite = "Data buffer not empty. OK to overwrite?";
const std::string kAbout = aboutText(defaultCompanyInfo());  // the window's company block
const std::string kExitTable = "Save timing table before exiting?";
const std::string kDisabled =
    "Timing table disabled. Edit module parameters to enable timing table.";
const std::string kExitBuffer =
    "The data buffer holds changes that are in no data file and not in the module. Save them "
    "to a file before exiting?";

// Where the 12 typed into 2D cell (1, 3) went: into the buffer or not, and what the cell
// shows afterwards ("" with no table open; the tune's own 29.5; the 12 typed; the 12 saved).
auto typed12(bool saved, const char* cell) {
    return [=](EditorFixture& f, bool) {
        EXPECT_EQ(f.state.EEPROMBuffer[18] == encodeCell(30, 12), saved);
        EXPECT_EQ(f.window->editor().tableOpen(), *cell != 0);
        if (*cell) {
            EXPECT_EQ(f.grid().cellText(1, 3), cell);
        }
    };
}

// A command that would drop the open table's unsaved edits asks first: Yes saves them to the
// buffer, No lets the command drop them when it replaces the table, Cancel ends it. With
// nothing unsaved nothing is asked; Cancel at any question about the open table ends the
// command, with no wizard or dialog shown.
TEST(CommandFlows, UnsavedTableEditsAreAskedAboutAndCancelEndsTheCommand) {
    const auto opened = [](EditorFixture& f) { f.window->mnuEditTimingTable->trigger(); };
    const auto copied = [](EditorFixture& f) {
        f.grid().selectBlock({1, 3, 1, 3});
        f.window->editor().Copy(TableKind::Table2D);
    };
    // No leaves buffer and working table; the copy buffer is emptied, Paste greyed out.
    const auto closedWithNo = [](EditorFixture& f, bool) {
        typed12(false, "")(f, true);
        EXPECT_EQ(f.state.ClipText, "");
        EXPECT_FALSE(f.window->mnuPopUpPaste2D->isEnabled());
        f.window->mnuEditTimingTable->trigger();
        EXPECT_EQ(f.grid().cellText(1, 3), "29.5") << "the working table as it was";
    };
    const auto wizardMade = [](EditorFixture& f) {
        f.onDialog = [](QDialog& dialog) { test::named<QPushButton>(dialog, "cmdOK").click(); };
        f.window->mnuNewTable->trigger();
        f.onDialog = nullptr;
    };
    // clang-format off
    const CommandFlow flows[] = {
        {"reopen, nothing typed", k2D, false, "mnuEditTimingTable", {}, {}, {}, opened, typed12(false, "29.5")},
        {"reopen, Yes", k2D, true, "mnuEditTimingTable", {Yes}, {kSaveTable}, {}, {}, typed12(true, "12.0")},
        {"reopen, No", k2D, true, "mnuEditTimingTable", {No}, {kSaveTable}, {}, {}, typed12(false, "29.5")},
        {"reopen, Cancel", k2D, true, "mnuEditTimingTable", {Cancel}, {kSaveTable}, {}, {}, typed12(false, "12")},
        {"open, Cancel", k2D, true, "mnuOpenFile", {Cancel}, {kSaveTable}, {}, {}, typed12(false, "12")},
        {"open, No then Cancel", k2D, true, "mnuOpenFile", {No, Cancel}, {kSaveTable, kOverwrite}, {}, {}, typed12(false, "12")},
        {"open, Yes then Cancel", k2D, true, "mnuOpenFile", {Yes, Cancel}, {kSaveTable, kOverwrite}, {}, {}, typed12(true, "")},
        {"download, Cancel", k2D, true, "mnuDownload", {Cancel}, {kSaveTable}, {}, {}, typed12(false, "12")},
        {"download, No", k2D, true, "mnuDownload", {No, OK, OK, OK}, {kSaveTable, kOverwrite, "Firmware ID: QZ-1 V2.1 SIM", "Downloaded data to buffer. Ready for editing."}, {"frmModParams"}, {}, typed12(false, "")},
        {"new 2D table", k2D, true, "mnuNewTable", {Cancel}, {kWizardSave}, {}, {}, typed12(false, "12")},
        {"new 3D table", k3D, true, "mnuNewTable", {Cancel}, {kWizardSave}},
        {"new 2D table, Yes", k2D, true, "mnuNewTable", {Yes}, {kWizardSave}, {"frmNew2DTable"}, {}, typed12(true, "")},
        {"module parameters", k3D, true, "mnuEditModParams", {Cancel}, {kSaveTable}},
        {"GPIO parameters", k2D, true, "mnuEditGPIOParams", {Cancel}, {kSaveTable}, {}, {}, typed12(false, "12")},
        {"close, Yes", k2D, true, "mnuCloseTbl", {Yes}, {kSaveTable}, {}, {}, typed12(true, "")},
        {"close, Cancel", k2D, true, "mnuCloseTbl", {Cancel}, {kSaveTable}, {}, {}, typed12(false, "12")},
        {"close, No", k2D, true, "mnuCloseTbl", {No}, {kSaveTable}, {}, copied, closedWithNo},
        {"a wizard's table, Cancel", k2D, false, "mnuEditTimingTable", {Cancel}, {kSaveTable}, {}, wizardMade},
    };
    // clang-format on
    for (const CommandFlow& flow : flows) test::runCommandFlow(flow);
}

// The last message box's title, icon and buttons, and whether a table is open afterwards.
auto lastShownAs(const char* title, PromptIcon icon, PromptButtons buttons, bool open = false) {
    return [=](EditorFixture& f, bool) {
        const test::ShownPrompt& shown = f.prompts.shown().back();
        EXPECT_EQ(std::tuple(shown.title, shown.icon, shown.buttons),
                  std::tuple(std::string(title), icon, buttons));
        EXPECT_EQ(f.window->editor().tableOpen(), open);
    };
}

// What the commands say, and reset, on their way; About shows the company block.
TEST(CommandFlows, CommandsAskAndResetAsTheySay) {
    const auto tables = [](bool table2D, bool table3D) {
        return [=](EditorFixture& f) {
            f.state.Table2DEnabled = table2D;
            f.state.Table3DEnabled = table3D;
            f.window->mnuEditTimingTable->setEnabled(true);  // as the parameters dialog does
        };
    };
    const auto copyBufferFilled = [](EditorFixture& f) {
        f.state.ClipText = "5";
        f.state.ClipColSpan = 2;
        QGuiApplication::clipboard()->setText("5");
    };
    const auto copyBufferEmptied = [](EditorFixture& f, bool) {
        EXPECT_EQ(f.state.ClipText, "");
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
        EXPECT_EQ(f.state.ClipColSpan, 2) << "the spans are left";
    };
    const std::string empty = "Data buffer empty. Create new table?";
    const auto emptyAsked =
        lastShownAs("Edit Timing Table", PromptIcon::None, PromptButtons::OKCancel);
    // clang-format off
    const CommandFlow flows[] = {
        {"empty buffer, 2D", 0, false, "mnuEditTimingTable", {OK}, {empty}, {"frmNew2DTable"}, tables(true, false), emptyAsked},
        {"empty buffer, 3D", 0, false, "mnuEditTimingTable", {OK}, {empty}, {"frmNew3DTable"}, tables(false, true), emptyAsked},
        {"empty buffer, Cancel", 0, false, "mnuEditTimingTable", {Cancel}, {empty}, {}, tables(true, false), emptyAsked},
        {"no table selected", 0, false, "mnuNewTable", {OK}, {kDisabled}, {}, tables(false, false),
         lastShownAs("New Timing Table", PromptIcon::Exclamation, PromptButtons::OK)},
        {"no table open", k2D, false, "mnuSaveTbl", {OK}, {"No active table to save"}, {}, {},
         lastShownAs("Save Table Edits To Buffer", PromptIcon::Exclamation, PromptButtons::OK)},
        {"edit clears the copy buffer", k2D, false, "mnuEditTimingTable", {}, {}, {}, copyBufferFilled, copyBufferEmptied},
        {"save file, table open", k2D, true, "mnuSaveFile", {OK}, {"You must close or save any open table before saving data to a file."}, {}, {},
         lastShownAs("Save Data File", PromptIcon::Exclamation, PromptButtons::OK, true)},
        {"save file, buffer empty", 0, false, "mnuSaveFile", {OK}, {"Data buffer empty."}, {}, {},
         lastShownAs("Save Data File", PromptIcon::Exclamation, PromptButtons::OK)},
        {"about", 0, false, "mnuAbout", {OK}, {kAbout}, {}, {}, lastShownAs("About", PromptIcon::Information, PromptButtons::OK)},
    };
    // clang-format on
    for (const CommandFlow& flow : flows) test::runCommandFlow(flow);
}

// Exit offers an open table to the buffer, then a buffer holding what no file and no module
// holds to a file; the program ends only when nothing is cancelled and that save happened.
TEST(CommandFlows, ExitAsksAboutTheOpenTableThenAboutABufferSavedNowhere) {
    // The port is closed whatever the answer.
    const auto closes = [](bool closed) {
        return [=](EditorFixture& f, bool ended) {
            EXPECT_EQ(ended, closed);
            EXPECT_EQ(f.window->isVisible(), !closed);
            EXPECT_FALSE(f.window->transfers().port().isOpen());
        };
    };
    const auto portOpen = [](EditorFixture& f) { f.window->transfers().port().open(); };
    // A table that no longer matches the selected kind cannot be saved: it stays open.
    const auto unsavable = [](EditorFixture& f) {
        f.window->mnuEditTimingTable->trigger();
        f.state.Table2DEnabled = false;
    };
    const auto stillOpen = [&](EditorFixture& f, bool ended) {
        closes(false)(f, ended);
        EXPECT_TRUE(f.window->editor().tableOpen());
    };
    const auto savesTo = [](const char* name) {
        return [=](EditorFixture& f) {
            f.prompts.answerFile(*name ? f.folder.path(name) : "");
            f.state.TrigTiming = 20;  // a parameter changed: a buffer saved nowhere
        };
    };
    const auto savedAndClosed = [](EditorFixture& f, bool closed) {
        EXPECT_TRUE(closed);
        EXPECT_EQ(f.folder.read("s.dat"), qz1::test::fileBytes(encodedImage(f.state)));
    };
    // clang-format off
    const CommandFlow flows[] = {
        {"nothing changed", k2D, false, "close", {}, {}, {}, portOpen, closes(true)},
        {"empty buffer", 0, false, "close", {}, {}, {}, {}, closes(true)},
        {"table, No", k2D, true, "close", {No}, {kExitTable}, {}, portOpen, closes(true)},
        {"table, Cancel", k2D, true, "close", {Cancel}, {kExitTable}, {}, portOpen, closes(false)},
        {"table saved, buffer No", k2D, true, "close", {Yes, No}, {kExitTable, kExitBuffer}, {}, portOpen, closes(true)},
        {"buffer Cancel", k2D, true, "close", {Yes, Cancel}, {kExitTable, kExitBuffer}, {}, portOpen, closes(false)},
        {"buffer Yes, dialog left", k2D, false, "close", {Yes}, {kExitBuffer}, {}, savesTo(""), closes(false)},
        {"buffer Yes, saved", k2D, false, "close", {Yes}, {kExitBuffer}, {}, savesTo("s.dat"), savedAndClosed},
        {"table unsavable", k2D, false, "close", {Yes, OK}, {kExitTable, kDisabled}, {}, unsavable, stillOpen},
    };
    // clang-format on
    for (const CommandFlow& flow : flows) test::runCommandFlow(flow);
}

// Open File reads the first 264 bytes; the table commands follow the image's selection, and
// the 3D view takes its sensor; the module parameters dialog opens.
TEST(OpenFile, LoadsTheFirst264BytesAndOpensTheModuleParameters) {
    // The file's size and table flags, and whether the table commands are enabled.
    const std::tuple<int, std::uint8_t, bool> cases[] = {
        {264, 0x5C, true}, {300, 0x80, true}, {264, 0xC0, true}, {264, 0x1C, false}};
    for (const auto& [size, flags, tableCommands] : cases) {
        test::MainWindowFixture f;
        const auto path =
            f.folder.write("street.dat", test::tuneFile(flags, 2) + QByteArray(size - 264, 'x'));
        f.prompts.answerFile(path);
        f.prompts.answer(OK);
        f.window->mnuOpenFile->trigger();
        EXPECT_EQ(f.prompts.messages(),
                  std::vector<std::string>{"Loaded " + path +
                                           " to buffer. Ready for editing or upload."});
        EXPECT_EQ(f.prompts.shown()[0].filter, "QZ-1 data files (*.dat)|*.dat");
        EXPECT_EQ(std::pair(f.prompts.shown()[1].title, f.prompts.shown()[1].icon),
                  std::pair(std::string("Open Data File"), PromptIcon::None));
        EXPECT_EQ(std::tuple(f.state.EEPROMBuffer[279], f.state.TrigTiming, f.state.ModuleType,
                             f.caption()),
                  std::tuple(std::uint8_t(279 % 90), std::int16_t(30), std::string(),
                             std::string("Tunewell QZ Version 1.5 - street.dat")));
        for (QAction* command :
             {f.window->mnuEditTimingTable, f.window->mnuSaveTbl, f.window->mnuCloseTbl})
            EXPECT_EQ(command->isEnabled(), tableCommands) << int(flags);
        if (flags & 0x80) {
            EXPECT_EQ(f.grid(TableKind::Table3D).cellText(8, 0), "90") << "3-bar labels";
        }
        EXPECT_EQ(f.dialogsShown, std::vector<std::string>{"frmModParams"});
    }
}

// A stored frequency above 32767 stops decoding with "Overflow" just after the buffer was
// cleared for the new file, which shows the caption of that moment.
TEST(OpenFile, TheCaptionSaysTheBufferIsEmptyWhileTheFileIsDecoded) {
    test::MainWindowFixture f;
    QByteArray bytes = test::tuneFile(k2D);
    bytes[74 - 16] = static_cast<char>(0x90);
    f.prompts.answerFile(f.folder.write("fast.dat", bytes));
    f.answer({PromptAnswer::Ignore, OK});
    std::vector<std::string> captions;
    f.prompts.onMessage = [&](const test::ShownPrompt&) { captions.push_back(f.caption()); };
    f.window->mnuOpenFile->trigger();
    EXPECT_EQ(f.prompts.messages().at(0), "Overflow");
    EXPECT_EQ(captions, (std::vector<std::string>{"Tunewell QZ Version 1.5 - Data Buffer Empty",
                                                  "Tunewell QZ Version 1.5 - fast.dat"}));
    EXPECT_EQ(f.state.GPIO2VSSFreq, 150) << "Ignore kept the value in force";
}

// Nothing the user had is lost until a whole file has been read or written: the buffer,
// the caption and an open table stay as they were. Saved, an opened file comes back byte for
// byte; a name without an extension gets .dat, and the dialog proposes the file opened.
TEST(DataFiles, ASaveWritesWhatWasOpenedAndFailuresLeaveEverythingAsItWas) {
    const auto saved = [](EditorFixture& f, bool) {
        EXPECT_EQ(f.prompts.shown().back().detail, f.path) << "proposed";
        EXPECT_EQ(f.folder.read("copy.dat"), test::tuneFile(k2D));
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - copy.dat");
    };
    const auto kept = [](EditorFixture& f, bool) {
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - tune.dat");
        EXPECT_EQ(f.folder.read("tune.dat"), test::tuneFile(k2D)) << "the file as it was";
    };
    const auto unchanged = [&](EditorFixture& f, bool ended) {
        kept(f, ended);
        EXPECT_EQ(f.state.EEPROMBuffer, f.opened);
        EXPECT_TRUE(f.window->editor().tableOpen());
        EXPECT_TRUE(f.dialogsShown.empty());
        const test::ShownPrompt& question =
            *std::find_if(f.prompts.shown().begin(), f.prompts.shown().end(),
                          [&](const test::ShownPrompt& shown) { return shown.text == kOverwrite; });
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
        f.folder.write("short.dat", test::tuneFile(k2D).left(263));
        test::makeFifo(f.folder.path("pipe.dat"));
    };
    // clang-format off
    const CommandFlow flows[] = {
        {"open, Cancel", k2D, false, "mnuOpenFile", {Cancel}, {kOverwrite}, {}, files, unchanged},
        {"open, dialog left", k2D, false, "mnuOpenFile", {OK}, {kOverwrite}, {}, files, unchanged, {""}},
        {"open, 263 bytes", k2D, false, "mnuOpenFile", {OK, OK}, {kOverwrite, "Error - reached premature end-of-file"}, {}, files, prematureEnd, {"{folder}short.dat"}},
        {"open, a pipe", k2D, false, "mnuOpenFile", {OK, PromptAnswer::Abort}, {kOverwrite, "{folder}pipe.dat: not a regular file"}, {}, files, unchanged, {"{folder}pipe.dat"}},
        {"save over it, Cancel", k2D, false, "mnuSaveFile", {Cancel, PromptAnswer::Ignore}, {"{tune}\nThis file already exists.\n\nReplace existing file?", "Canceled File Save"}, {}, {}, kept, {"{tune}"}},
        {"save as", k2D, false, "mnuSaveFile", {}, {}, {}, {}, saved, {"{folder}copy"}},
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

}  // namespace
}  // namespace qz
