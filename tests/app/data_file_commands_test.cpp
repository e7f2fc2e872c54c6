#include <gtest/gtest.h>

#include <QDir>

#include "files/program_folder.h"
#include "image/table_layout.h"
#include "support/file_size_limit.h"
#include "support/main_window_fixture.h"

namespace qz {
namespace {

using test::MainWindowFixture;
using test::ShownPrompt;

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

// A buffer the user already has: a tune downloaded from a module.
void loadSomething(MainWindowFixture& f) {
    f.state.EEPROMBuffer.fill(0x42);
    f.state.BufferEmpty = false;
    f.state.FirmwareID = "QZ-1 V2.1";
    f.state.ModuleType = "QZ-1";
    f.state.BufferStatus = "Downloaded Data";
    f.state.TrigTiming = 12;
    f.window->setWindowTitle("Tunewell QZ Version 1.5 - Downloaded Data");
}

std::vector<std::string> texts(const test::ScriptedPrompts& prompts) {
    std::vector<std::string> shown;
    for (const auto& prompt : prompts.shown())
        shown.push_back(prompt.kind == ShownPrompt::Kind::Message ? prompt.text
                                                                  : "[" + prompt.title + "]");
    return shown;
}

TEST(OpenFile, LoadsTheFirst264BytesAndOpensTheModuleParameters) {
    for (int size : {264, 300}) {
        MainWindowFixture f;
        const auto path = f.folder.write("street.dat", image(size));
        f.prompts.answerFile(path);
        f.prompts.answer(PromptAnswer::OK);
        f.window->mnuOpenFile->trigger();

        EXPECT_EQ(
            texts(f.prompts),
            (std::vector<std::string>{
                "[Open File]", "Loaded " + path + " to buffer. Ready for editing or upload."}));
        EXPECT_EQ(f.prompts.shown()[0].filter, "QZ-1 data files (*.dat)|*.dat");
        EXPECT_EQ(f.prompts.shown()[1].title, "Open Data File");
        EXPECT_FALSE(f.state.BufferEmpty);
        EXPECT_EQ(f.state.EEPROMBuffer[16 + 263], (263 * 7) & 0x3F);
        EXPECT_EQ(f.state.TrigTiming, 25);
        EXPECT_EQ(f.state.ModuleType, "");
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - street.dat");
        EXPECT_TRUE(f.window->mnuEditTimingTable->isEnabled());
        EXPECT_TRUE(f.window->mnuSaveTbl->isEnabled());
        EXPECT_EQ(f.dialogsShown, std::vector<std::string>{"frmModParams"});
    }
}

TEST(OpenFile, TheTableCommandsFollowTheImagesTableSelection) {
    const struct {
        std::uint8_t flags;
        bool enabled;
    } cases[] = {{0x40, true}, {0x80, true}, {0xC0, true}, {0x1C, false}};
    for (const auto& c : cases) {
        MainWindowFixture f;
        f.prompts.answerFile(f.folder.write("t.dat", image(264, c.flags, 2)));
        f.prompts.answer(PromptAnswer::OK);
        f.window->mnuOpenFile->trigger();
        for (QAction* command :
             {f.window->mnuEditTimingTable, f.window->mnuSaveTbl, f.window->mnuCloseTbl})
            EXPECT_EQ(command->isEnabled(), c.enabled) << int(c.flags);
        EXPECT_TRUE(f.window->mnuNewTable->isEnabled());
        if (c.flags & 0x80) {
            EXPECT_EQ(f.grid(TableKind::Table3D).cellText(8, 0), "90") << "3-bar labels";
        }
    }
}

// A stored frequency above 32767 stops decoding with "Overflow" just after the buffer was
// cleared for the new file, which shows the caption of that moment.
TEST(OpenFile, TheCaptionSaysTheBufferIsEmptyWhileTheFileIsDecoded) {
    MainWindowFixture f;
    QByteArray bytes = image(264);
    bytes[74 - 16] = static_cast<char>(0x90);
    f.prompts.answerFile(f.folder.write("fast.dat", bytes));
    f.prompts.answer(PromptAnswer::Ignore);
    f.prompts.answer(PromptAnswer::OK);
    std::vector<std::string> captions;
    f.prompts.onMessage = [&](const test::ShownPrompt&) { captions.push_back(f.caption()); };
    f.window->mnuOpenFile->trigger();
    EXPECT_EQ(texts(f.prompts).at(1), "Overflow");
    EXPECT_EQ(captions, (std::vector<std::string>{"Tunewell QZ Version 1.5 - Data Buffer Empty",
                                                  "Tunewell QZ Version 1.5 - fast.dat"}));
    EXPECT_EQ(f.state.GPIO2VSSFreq, 150) << "Ignore kept the value in force";
}

// Nothing the user had is lost until a whole file has been read.
TEST(OpenFile, CancellingOrAShortFileLeavesEverythingAsItWas) {
    const struct {
        const char* why;
        std::vector<PromptAnswer> answers;
        int fileSize;  // 0: the dialog left without a choice; -1: not asked; -2: a pipe
        std::vector<std::string> shown;
    } cases[] = {
        {"cancel the question",
         {PromptAnswer::Cancel},
         -1,
         {"Data buffer not empty. OK to overwrite?"}},
        {"leave the dialog",
         {PromptAnswer::OK},
         0,
         {"Data buffer not empty. OK to overwrite?", "[Open File]"}},
        {"263 bytes",
         {PromptAnswer::OK, PromptAnswer::OK},
         263,
         {"Data buffer not empty. OK to overwrite?", "[Open File]",
          "Error - reached premature end-of-file"}},
        {"a pipe, refused at once",
         {PromptAnswer::OK, PromptAnswer::Abort},
         -2,
         {"Data buffer not empty. OK to overwrite?", "[Open File]", "PIPE: not a regular file"}},
    };
    for (const auto& c : cases) {
        MainWindowFixture f;
        loadSomething(f);
        f.openTable2D();
        const EepromBytes before = f.state.EEPROMBuffer;
        for (auto answer : c.answers) f.prompts.answer(answer);
        if (c.fileSize == 0) f.prompts.answerFile("");
        if (c.fileSize > 0) f.prompts.answerFile(f.folder.write("short.dat", image(c.fileSize)));
        const std::string pipe = test::makeFifo(f.folder.file("pipe.dat"));
        if (c.fileSize == -2) f.prompts.answerFile(pipe);
        f.window->mnuOpenFile->trigger();

        std::vector<std::string> shown = c.shown;
        if (shown.back().starts_with("PIPE")) shown.back().replace(0, 4, pipe);
        EXPECT_EQ(texts(f.prompts), shown) << c.why;
        EXPECT_EQ(std::pair(f.prompts.shown()[0].buttons, f.prompts.shown()[0].title),
                  std::pair(PromptButtons::OKCancel, std::string("Open Data File")));
        EXPECT_EQ(f.state.EEPROMBuffer, before) << c.why;
        EXPECT_FALSE(f.state.BufferEmpty) << c.why;
        EXPECT_EQ(f.state.TrigTiming, 12) << c.why;
        EXPECT_EQ(f.state.FirmwareID, "QZ-1 V2.1") << c.why;
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data") << c.why;
        EXPECT_TRUE(f.window->editor().tableOpen()) << c.why;
        EXPECT_TRUE(f.dialogsShown.empty()) << c.why;
    }
    const auto& premature = [] {
        MainWindowFixture f;
        f.prompts.answerFile(f.folder.write("short.dat", image(263)));
        f.prompts.answer(PromptAnswer::OK);
        f.window->mnuOpenFile->trigger();
        return f.prompts.shown().back();
    }();
    EXPECT_EQ(premature.icon, PromptIcon::Exclamation);
    EXPECT_EQ(premature.title, "Open Data File");
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

TEST(SaveFile, OpenThenSaveWritesAByteIdenticalFile) {
    MainWindowFixture f;
    // An image as the program writes it: flags and clamps already normalised.
    QByteArray original = image(264);
    f.prompts.answerFile(f.folder.write("in.dat", original));
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuOpenFile->trigger();
    f.prompts.answerFile(f.folder.file("first.dat"));
    f.window->mnuSaveFile->trigger();
    const QByteArray first = f.folder.read("first.dat");
    ASSERT_EQ(first.size(), 264);

    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answerFile(f.folder.file("first.dat"));
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuOpenFile->trigger();
    f.prompts.answerFile(f.folder.file("second"));  // ".dat" is added
    f.window->mnuSaveFile->trigger();
    EXPECT_EQ(f.prompts.shown().back().detail, f.folder.file("first.dat")) << "proposed";
    EXPECT_EQ(f.folder.read("second.dat"), first);
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - second.dat");
    EXPECT_FALSE(f.state.BufferEmpty);
}

TEST(SaveFile, ReplacingAFileAsksAndCancelGoesThroughTheTrap) {
    MainWindowFixture f;
    loadSomething(f);
    const auto path = f.folder.write("old.dat", QByteArray(264, '\7'));
    f.prompts.answerFile(path);
    f.prompts.answer(PromptAnswer::Cancel);  // "This file already exists."
    f.prompts.answer(PromptAnswer::Ignore);  // "Canceled File Save"
    f.window->mnuSaveFile->trigger();
    EXPECT_EQ(texts(f.prompts),
              (std::vector<std::string>{
                  "[Save File]", path + "\nThis file already exists.\n\nReplace existing file?",
                  "Canceled File Save"}));
    EXPECT_EQ(f.folder.read("old.dat"), QByteArray(264, '\7'));
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data");
}

TEST(SaveFile, AFailedWriteIsReportedAndDoesNotNameTheBuffer) {
    MainWindowFixture f;
    loadSomething(f);
    f.prompts.answerFile(f.folder.file("no/such/folder/x.dat"));
    f.prompts.answer(PromptAnswer::Ignore);
    f.window->mnuSaveFile->trigger();
    ASSERT_EQ(f.prompts.shown().size(), 2u);
    EXPECT_EQ(f.prompts.shown()[1].title, "Error");
    EXPECT_NE(f.prompts.shown()[1].text.find("no/such/folder/x.dat"), std::string::npos);
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data");
}

}  // namespace
}  // namespace qz
