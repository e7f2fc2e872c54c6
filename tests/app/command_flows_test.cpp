#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include "image/buffer_baseline.h"
#include "image/cell_encoding.h"
#include "support/command_flow.h"

namespace qz {
namespace {

using test::CommandFlow;
using test::EditorFixture;
using test::k2D;
using test::k3D;
constexpr auto Yes = PromptAnswer::Yes, No = PromptAnswer::No, Cancel = PromptAnswer::Cancel,
               OK = PromptAnswer::OK;

const std::string kSaveTable = "Save table edits to buffer before closing?";
const std::string kWizardSave = "Save timing table before closing file?";
const std::string kOverwrite = "Data buffer not empty. OK to overwrite?";
const std::string kAbout =
    "Kelvane Tunewell QZ Version 1.50\nWritten by the Tunewell QZ development team.\n\nKelvane "
    "Engine Electronics, Inc.\n1200 Foundry Road, Suite 5\nMillbrook, OH 44000\nPhone: (555) "
    "013-4500\nwww.kelvane.example\n";
const std::string kExitTable = "Save timing table before exiting?";
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
    const std::string firmware = "Firmware ID: QZ-1 V2.1 SIM";
    const std::string downloaded = "Downloaded data to buffer. Ready for editing.";
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
        {"download, No", k2D, true, "mnuDownload", {No, OK, OK, OK}, {kSaveTable, kOverwrite, firmware, downloaded}, {"frmModParams"}, {}, typed12(false, "")},
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
    const std::string disabled =
        "Timing table disabled. Edit module parameters to enable timing table.";
    const auto emptyAsked =
        lastShownAs("Edit Timing Table", PromptIcon::None, PromptButtons::OKCancel);
    // clang-format off
    const CommandFlow flows[] = {
        {"empty buffer, 2D", 0, false, "mnuEditTimingTable", {OK}, {empty}, {"frmNew2DTable"}, tables(true, false), emptyAsked},
        {"empty buffer, 3D", 0, false, "mnuEditTimingTable", {OK}, {empty}, {"frmNew3DTable"}, tables(false, true), emptyAsked},
        {"empty buffer, Cancel", 0, false, "mnuEditTimingTable", {Cancel}, {empty}, {}, tables(true, false), emptyAsked},
        {"no table selected", 0, false, "mnuNewTable", {OK}, {disabled}, {}, tables(false, false),
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
    const auto savesTo = [](const char* name) {
        return [=](EditorFixture& f) {
            f.prompts.answerFile(*name ? f.folder.file(name) : "");
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
    };
    // clang-format on
    for (const CommandFlow& flow : flows) test::runCommandFlow(flow);
}

}  // namespace
}  // namespace qz
