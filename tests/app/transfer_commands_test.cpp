#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSettings>

#include "link/line_errors.h"
#include "link/port_directory.h"
#include "support/main_window_fixture.h"
#include "support/scripted_port.h"

namespace qz {
namespace {

using test::MainWindowFixture;
using test::ScriptedPort;

// The main window on a scripted port that answers as a module with the given faults.
struct TransferFixture : MainWindowFixture {
    explicit TransferFixture(SimulatorFaults faults = {}, std::string id = kDefaultSimulatorId) {
        auto scripted =
            std::make_unique<ScriptedPort>(ModuleSimulator(demoTune(), std::move(id), faults));
        port = scripted.get();
        window->useSerialPort(std::move(scripted));
        window->protocol().delay = [](int) {};
    }
    // What the user had before the command: a tune opened from a file.
    void loadSomething() {
        state.EEPROMBuffer.fill(0x21);
        state.BufferEmpty = false;
        state.TrigTiming = 12;
        window->setWindowTitle("Tunewell QZ Version 1.5 - street.dat");
    }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const auto& shown : prompts.shown()) texts.push_back(shown.text);
        return texts;
    }
    ScriptedPort* port;
};

TEST(Download, ReadsTheModuleAndOpensTheModuleParameters) {
    TransferFixture f;
    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.messages(),
              (std::vector<std::string>{"Firmware ID: QZ-1 V2.1 SIM",
                                        "Downloaded data to buffer. Ready for editing."}));
    EXPECT_EQ(f.prompts.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(f.prompts.shown()[1].icon, PromptIcon::None);
    EXPECT_EQ(f.prompts.shown()[1].title, "Download From EEPROM");
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
    EXPECT_FALSE(f.state.BufferEmpty);
    EXPECT_TRUE(f.state.Table3DEnabled);
    EXPECT_TRUE(f.window->mnuEditTimingTable->isEnabled());
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data");
    EXPECT_EQ(f.dialogsShown, std::vector<std::string>{"frmModParams"});
    EXPECT_FALSE(f.window->fraProgress1->isVisible());
    EXPECT_FALSE(f.port->isOpen());
}

// Nothing the user had is lost when a download does not complete.
TEST(Download, AFailedDownloadLeavesBufferTablesAndCaptionAsTheyWere) {
    const struct {
        const char* why;
        SimulatorFaults faults;
        std::string id;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> messages;
    } cases[] = {
        {"no answer",
         {.silent = true},
         kDefaultSimulatorId,
         {PromptAnswer::OK, PromptAnswer::OK},
         {"Data buffer not empty. OK to overwrite?",
          "Cannot establish RS-232 link. Check cable and QZ-1 power."}},
        {"marine module",
         {},
         "QZ-1 Marine V1",
         {PromptAnswer::OK, PromptAnswer::OK, PromptAnswer::OK},
         {"Data buffer not empty. OK to overwrite?", "Firmware ID: QZ-1 Marine V1",
          "Not standard QZ-1 unit. Cannot download and edit data."}},
        {"no command echo",
         {.idStart = SimulatorFaults::IdStart::Letter},
         kDefaultSimulatorId,
         {PromptAnswer::OK, PromptAnswer::Ignore, PromptAnswer::OK},
         {"Data buffer not empty. OK to overwrite?", "Firmware ID - no command echo.",
          "Firmware ID read failed - cannot download."}},
        {"bytes lost",
         {.dropEvery = 40},
         kDefaultSimulatorId,
         {PromptAnswer::OK, PromptAnswer::OK, PromptAnswer::Abort, PromptAnswer::OK},
         {"Data buffer not empty. OK to overwrite?", "Firmware ID: QZ-1 V2.1 SIM",
          "RS-232 timeout. Check cable and click Abort.", "Download failed."}},
    };
    for (const auto& c : cases) {
        TransferFixture f(c.faults, c.id);
        f.loadSomething();
        f.state.Table2DEnabled = true;
        f.openTable2D();
        const EepromBytes before = f.state.EEPROMBuffer;
        for (auto answer : c.answers) f.prompts.answer(answer);
        f.window->mnuDownload->trigger();
        EXPECT_EQ(f.messages(), c.messages) << c.why;
        EXPECT_EQ(f.state.EEPROMBuffer, before) << c.why;
        EXPECT_FALSE(f.state.BufferEmpty) << c.why;
        EXPECT_EQ(f.state.TrigTiming, 12) << c.why;
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - street.dat") << c.why;
        EXPECT_TRUE(f.window->views().tableOpen()) << c.why;
        EXPECT_FALSE(f.port->isOpen()) << c.why;
        EXPECT_TRUE(f.dialogsShown.empty()) << c.why;
    }
}

TEST(Download, EscDuringTheReadLosesNothing) {
    TransferFixture f;
    f.loadSomething();
    const EepromBytes before = f.state.EEPROMBuffer;
    int reads = 0;
    auto module = f.port->respond;
    f.port->respond = [&](std::uint8_t byte) {
        if (byte == 0x15 && ++reads == 50) f.state.UserAbort = true;
        return module(byte);
    };
    for (int i = 0; i < 3; ++i) f.prompts.answer(PromptAnswer::OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.messages().back(), "Download failed.");
    EXPECT_EQ(f.state.EEPROMBuffer, before);
    EXPECT_FALSE(f.state.UserAbort);
}

TEST(Download, APortThatCannotBeOpenedIsReportedOnce) {
    TransferFixture f;
    f.port->failToOpen = true;
    f.prompts.answer(PromptAnswer::Ignore);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.messages(), (std::vector<std::string>{
                                "Cannot open /dev/ttyUSB0: Permission denied",
                                "Cannot establish RS-232 link. Check cable and QZ-1 power."}));
}

TEST(Download, CommandsThatTouchThePortBufferOrTablesAreRefusedMeanwhile) {
    TransferFixture f;
    std::vector<bool> seen;
    auto module = f.port->respond;
    f.port->respond = [&](std::uint8_t byte) {
        if (byte == 0x15 && seen.empty())
            seen = {f.window->mnuOpenFile->isEnabled(),
                    f.window->mnuDownload->isEnabled(),
                    f.window->mnuUpload->isEnabled(),
                    f.window->mnuEditModParams->isEnabled(),
                    f.window->mnuExit->isEnabled(),
                    f.window->mnuAbout->isEnabled(),
                    f.window->mnuHelp->menuAction()->isEnabled()};
        return module(byte);
    };
    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(seen, (std::vector<bool>{false, false, false, false, false, true, true}));
    EXPECT_TRUE(f.window->mnuOpenFile->isEnabled());
    EXPECT_TRUE(f.window->mnuExit->isEnabled());
    EXPECT_FALSE(f.window->mnuPopUpPaste2D->isEnabled()) << "states come back as they were";
}

TEST(Upload, ProgramsAndVerifiesTheBuffer) {
    TransferFixture f;
    f.state.EEPROMBuffer = demoTune();
    f.state.BufferEmpty = false;
    f.state.RetardComp = 40;
    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuUpload->trigger();
    EXPECT_EQ(f.messages().back(),
              "Upload completed. Remember to cycle power off for 5 seconds\nand then on again "
              "before starting engine.");
    EXPECT_EQ(f.prompts.shown().back().title, "Upload To EEPROM");
    EXPECT_EQ(f.state.EEPROMBuffer[52], 40) << "the parameters were encoded first";
    EXPECT_EQ(f.port->simulator().eeprom(), f.state.EEPROMBuffer);
}

TEST(Upload, RefusalsAndFailures) {
    const struct {
        const char* why;
        SimulatorFaults faults;
        std::string id;
        bool empty;
        bool tableOpen;
        std::string last;
        PromptIcon icon;
    } cases[] = {
        {"open table",
         {},
         kDefaultSimulatorId,
         false,
         true,
         "You must close or save any open table before uploading.",
         PromptIcon::Exclamation},
        {"empty buffer",
         {},
         kDefaultSimulatorId,
         true,
         false,
         "No data available for uploading.",
         PromptIcon::Exclamation},
        {"marine",
         {},
         "QZ-1 Marine",
         false,
         false,
         "Not standard QZ-1 unit. Cannot upload data.",
         PromptIcon::None},
        {"refused at 100",
         {.nakProgrammingAt = 100},
         kDefaultSimulatorId,
         false,
         false,
         "Upload aborted - EEPROM programming failed.",
         PromptIcon::Information},
        {"read back differs",
         {.readBackDiffersAt = 150},
         kDefaultSimulatorId,
         false,
         false,
         "Upload aborted - EEPROM verification failed.",
         PromptIcon::Information},
    };
    for (const auto& c : cases) {
        TransferFixture f(c.faults, c.id);
        f.state.EEPROMBuffer = demoTune();
        f.state.BufferEmpty = c.empty;
        if (c.tableOpen) f.openTable2D();
        for (int i = 0; i < 3; ++i) f.prompts.answer(PromptAnswer::OK);
        f.window->mnuUpload->trigger();
        EXPECT_EQ(f.messages().back(), c.last) << c.why;
        EXPECT_EQ(f.prompts.shown().back().icon, c.icon) << c.why;
        EXPECT_EQ(f.state.ModuleType, c.id == "QZ-1 Marine" ? "QZ-1" : f.state.ModuleType) << c.why;
    }
}

TEST(LineErrors, TheThirdErrorClosesThePortBeforeItsMessage) {
    TransferFixture f;
    f.port->open();
    std::vector<bool> openAtMessage;
    f.prompts.onMessage = [&](const test::ShownPrompt&) {
        openAtMessage.push_back(f.port->isOpen());
    };
    for (int i = 0; i < 3; ++i) f.prompts.answer(PromptAnswer::Retry);
    for (int i = 0; i < 3; ++i) f.port->onLineEvent(LineEvent::FramingError);
    EXPECT_EQ(openAtMessage, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(f.window->CommErrorCount, 3);
    EXPECT_EQ(f.prompts.shown()[0].text, "Framing error.");
    EXPECT_EQ(f.prompts.shown()[0].title, "Communications Error");
    EXPECT_EQ(f.prompts.shown()[0].buttons, PromptButtons::RetryCancel);
    EXPECT_EQ(f.prompts.shown()[0].icon, PromptIcon::Critical);

    TransferFixture cancelled;
    cancelled.port->open();
    cancelled.prompts.answer(PromptAnswer::Cancel);
    cancelled.port->onLineEvent(LineEvent::ParityError);
    EXPECT_FALSE(cancelled.port->isOpen());
    EXPECT_EQ(lineEventMessage(1010), "Transmit buffer full.");
    EXPECT_EQ(lineEventMessage(2), std::nullopt);
}

TEST(PortSetup, TheChosenPortIsSavedAndClosesTheOpenPort) {
    {
        TransferFixture first;
        EXPECT_EQ(first.window->cboPort->count(), 255);
        EXPECT_EQ(first.window->cboPort->itemText(254), "Com255");
        EXPECT_EQ(first.window->CommPortNumber, 1);
        first.port->open();
        first.window->cboPort->setCurrentIndex(2);
        first.window->cboPort_Click();
        EXPECT_FALSE(first.port->isOpen());
        EXPECT_EQ(first.port->portNumber(), 3);
    }
    TransferFixture again;
    EXPECT_EQ(again.window->CommPortNumber, 3) << "the choice is kept for the next start";
    EXPECT_EQ(again.window->cboPort->currentIndex(), 2);
    again.window->mnuPortSetup->trigger();
    EXPECT_TRUE(again.window->fraPortSelect->isVisibleTo(again.window.get()));
    again.window->cmdPortSelectOK->click();
    EXPECT_FALSE(again.window->fraPortSelect->isVisibleTo(again.window.get()));
    again.window->cboPort->setCurrentIndex(0);
    again.window->cboPort_Click();
}

TEST(PortSetup, ResizingClosesThePortAndMinimisingLeavesItClosed) {
    TransferFixture f;
    f.window->show();
    f.port->open();
    f.window->CommErrorCount = 2;
    f.window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.port->isOpen());
    EXPECT_EQ(f.window->CommErrorCount, 2);
    f.window->showNormal();
    f.window->resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(f.window->CommErrorCount, 0);
}

TEST(PortDirectory, NumbersOpenDevicesInOrderAndTheSimulatorWithoutAny) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "test", "ports");
    settings.clear();
    PortDirectory none(settings, {});
    EXPECT_EQ(none.deviceFor(1), "simulator");
    EXPECT_EQ(none.deviceFor(2), "");
    PortDirectory some(settings, {"/dev/ttyUSB0", "/dev/ttyS0"});
    EXPECT_EQ(some.deviceFor(1), "/dev/ttyUSB0");
    EXPECT_EQ(some.deviceFor(2), "/dev/ttyS0");
    some.choose(2, "simulator");
    EXPECT_EQ(some.deviceFor(2), "simulator");
    settings.setValue("Properties/CommPort", "12");
    EXPECT_EQ(some.savedPortNumber(), 12);
    settings.setValue("Properties/CommPort", "Com3");
    EXPECT_EQ(some.savedPortNumber(), 1);
    settings.clear();
}

// The whole road on the real serial port code: the built-in simulator on a pseudo-terminal.
TEST(Download, FromTheBuiltInSimulator) {
    MainWindowFixture f;
    const int simulator =
        f.window->cboDevice->findData(QString::fromLatin1(PortDirectory::kSimulator));
    ASSERT_GE(simulator, 0) << "the simulator is always offered";
    f.window->cboDevice->setCurrentIndex(simulator);
    emit f.window->cboDevice->activated(simulator);
    f.prompts.answer(PromptAnswer::OK);
    f.prompts.answer(PromptAnswer::OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.prompts.shown().back().text, "Downloaded data to buffer. Ready for editing.");
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
}

}  // namespace
}  // namespace qz
