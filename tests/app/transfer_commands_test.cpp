#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTest>

#include "link/line_errors.h"
#include "link/port_directory.h"
#include "support/main_window_fixture.h"
#include "support/scripted_port.h"
#include "support/transfer_fixture.h"

namespace qz {
namespace {

using test::MainWindowFixture;
using test::ScriptedPort;
using test::TransferFixture;
using Bytes = std::vector<std::uint8_t>;

constexpr auto OK = PromptAnswer::OK;

TEST(Download, ReadsTheModuleAndOpensTheModuleParameters) {
    TransferFixture f;
    f.window->show();
    QTest::keyClick(f.window.get(), Qt::Key_Escape);  // an Esc long before does not stop it
    std::string firstCaption;
    bool busy = false;
    f.port->onWait = [&] {
        if (firstCaption.empty()) firstCaption = f.window->fraProgress1->title().toStdString();
        busy = QApplication::overrideCursor() &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
    };
    f.answer({OK, OK});
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.prompts.messages(),
              (std::vector<std::string>{"Firmware ID: QZ-1 V2.1 SIM",
                                        "Downloaded data to buffer. Ready for editing."}));
    EXPECT_EQ(f.prompts.shown()[0].icon, PromptIcon::Exclamation);
    EXPECT_EQ(f.prompts.shown()[1].icon, PromptIcon::None);
    EXPECT_EQ(f.prompts.shown()[1].title, "Download From EEPROM");
    EXPECT_EQ(firstCaption, "Checking RS-232 link");
    EXPECT_TRUE(busy);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
    EXPECT_FALSE(f.state.BufferEmpty);
    EXPECT_TRUE(f.state.Table3DEnabled);
    EXPECT_EQ(f.chart3D().table(), f.state.Table3D) << "3D chart set up";
    EXPECT_TRUE(f.window->mnuEditTimingTable->isEnabled());
    EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data");
    EXPECT_EQ(f.dialogsShown, std::vector<std::string>{"frmModParams"});
    EXPECT_FALSE(f.window->fraProgress1->isVisible());
    EXPECT_FALSE(f.port->isOpen());
}

// Nothing the user had is lost when a download does not complete, nor when Esc stops it.
TEST(Download, AFailedDownloadLeavesBufferTablesAndCaptionAsTheyWere) {
    const std::string overwrite = "Data buffer not empty. OK to overwrite?";
    const std::string firmware = "Firmware ID: QZ-1 V2.1 SIM";
    // clang-format off
    const struct {
        const char* why;
        SimulatorFaults faults;
        std::string id;
        std::vector<PromptAnswer> answers;
        std::vector<std::string> messages;
        int escAfterReads = 0;
    } cases[] = {
        {"no answer", {.silent = true}, kDefaultSimulatorId, {OK, OK}, {overwrite, "Cannot establish RS-232 link. Check cable and QZ-1 power."}},
        {"marine module", {}, "QZ-1 Marine V1", {OK, OK, OK}, {overwrite, "Firmware ID: QZ-1 Marine V1", "Not standard QZ-1 unit. Cannot download and edit data."}},
        {"bytes lost", {.dropEvery = 40}, kDefaultSimulatorId, {OK, OK, PromptAnswer::Abort, OK}, {overwrite, firmware, kTimeoutMessage, "Download failed."}},
        {"Esc", {}, kDefaultSimulatorId, {OK, OK, OK}, {overwrite, firmware, "Download failed."}, 50},
    };
    // clang-format on
    for (const auto& c : cases) {
        TransferFixture f(c.faults, c.id);
        f.loadSomething();
        f.openTable2D();
        const EepromBytes before = f.state.EEPROMBuffer;
        f.port->onWait = [&] {
            if (c.escAfterReads &&
                std::count(f.port->sent.begin(), f.port->sent.end(), 0x15) == c.escAfterReads)
                f.state.UserAbort = true;
        };
        f.answer(c.answers);
        f.window->mnuDownload->trigger();
        SCOPED_TRACE(c.why);
        EXPECT_EQ(f.prompts.messages(), c.messages);
        EXPECT_EQ(f.state.EEPROMBuffer, before);
        EXPECT_EQ(std::tuple(f.state.BufferEmpty, f.state.TrigTiming, f.state.ModuleType,
                             f.state.UserAbort),
                  std::tuple(false, 12, std::string("QZ-1"), false));
        EXPECT_EQ(f.state.FirmwareID, "QZ-1 street") << "the identification of the buffer's image";
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - street.dat");
        EXPECT_TRUE(f.window->editor().tableOpen());
        EXPECT_FALSE(f.port->isOpen());
        EXPECT_TRUE(f.dialogsShown.empty());
        if (c.faults.silent) {
            EXPECT_EQ(f.port->sent, Bytes(5, 0x33)) << "five resyncs";
        }
    }
}

// Whatever ends a transfer, a lost port included, the window is given back as it was.
TEST(Download, CommandsAreRefusedMeanwhileAndComeBackHoweverItEnds) {
    for (const bool portLost : {false, true}) {
        TransferFixture f;
        std::vector<bool> seen;
        f.port->onWait = [&] {
            if (std::count(f.port->sent.begin(), f.port->sent.end(), 0x15) != 100) return;
            if (seen.empty())
                seen = {f.window->mnuOpenFile->isEnabled(),
                        f.window->mnuDownload->isEnabled(),
                        f.window->mnuUpload->isEnabled(),
                        f.window->mnuEditModParams->isEnabled(),
                        f.window->mnuExit->isEnabled(),
                        f.window->mnuAbout->isEnabled(),
                        f.window->mnuHelp->menuAction()->isEnabled()};
            if (portLost) f.port->lose();
        };
        f.answer(portLost ? std::vector{OK, PromptAnswer::Abort, OK} : std::vector{OK, OK});
        f.window->mnuDownload->trigger();
        EXPECT_EQ(seen, (std::vector<bool>{false, false, false, false, false, true, true}));
        EXPECT_EQ(f.prompts.messages()[1], portLost
                                               ? disconnectedMessage("/dev/ttyUSB0")
                                               : "Downloaded data to buffer. Ready for editing.");
        EXPECT_TRUE(f.window->mnuOpenFile->isEnabled());
        EXPECT_TRUE(f.window->mnuExit->isEnabled());
        EXPECT_FALSE(f.window->mnuPopUpPaste2D->isEnabled()) << "states come back as they were";
        EXPECT_FALSE(f.window->transfers().running());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

TEST(Download, ClosingTheWindowMeanwhileClosesItWhenTheTransferHasEnded) {
    TransferFixture f;
    f.window->show();
    f.port->onWait = [&] {
        if (std::count(f.port->sent.begin(), f.port->sent.end(), 0x15) == 10) f.window->close();
    };
    f.answer({OK, OK});
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune()) << "the transfer was not cut off";
    EXPECT_TRUE(f.dialogsShown.empty()) << "no dialog opens on a closing window";
    EXPECT_FALSE(f.window->isVisible());
}

TEST(Upload, ProgramsAndVerifiesTheBuffer) {
    TransferFixture f;
    f.state.EEPROMBuffer = demoTune();
    f.state.BufferEmpty = false;
    f.state.RetardComp = 40;
    f.port->onWait = [&] {  // Esc while programming, which cannot be interrupted
        if (f.window->fraProgress1->title() == "Programming EEPROM") f.state.UserAbort = true;
    };
    f.answer({OK, OK});
    f.window->mnuUpload->trigger();
    EXPECT_EQ(f.prompts.messages().back(),
              "Upload completed. Remember to cycle power off for 5 seconds\nand then on again "
              "before starting engine.");
    EXPECT_EQ(f.prompts.shown().back().title, "Upload To EEPROM");
    EXPECT_EQ(f.state.EEPROMBuffer[52], 40) << "the parameters were encoded first";
    EXPECT_EQ(f.port->simulator().eeprom(), f.state.EEPROMBuffer);
}

TEST(Upload, RefusalsAndFailures) {
    // clang-format off
    const struct {
        const char* why;
        SimulatorFaults faults;
        std::string id;
        bool empty;
        bool tableOpen;
        std::string last;
        PromptIcon icon;
        std::string detail;
    } cases[] = {
        {"open table", {}, kDefaultSimulatorId, false, true, "You must close or save any open table before uploading.", PromptIcon::Exclamation, ""},
        {"empty buffer", {}, kDefaultSimulatorId, true, false, "No data available for uploading.", PromptIcon::Exclamation, ""},
        {"marine", {}, "QZ-1 Marine", false, false, "Not standard QZ-1 unit. Cannot upload data.", PromptIcon::None, ""},
        {"refused at 100", {.nakProgrammingAt = 100}, kDefaultSimulatorId, false, false, "Upload aborted - EEPROM programming failed.", PromptIcon::Information, ""},
        {"read back differs", {.readBackDiffersAt = 150}, kDefaultSimulatorId, false, false, "Upload aborted - EEPROM verification failed.", PromptIcon::Information, "address 150: wrote " + std::to_string(demoTune()[150]) + ", read " + std::to_string(demoTune()[150] ^ 0x5A) + "\n"},
    };
    // clang-format on
    for (const auto& c : cases) {
        TransferFixture f(c.faults, c.id);
        f.state.EEPROMBuffer = demoTune();
        f.state.BufferEmpty = c.empty;
        if (c.tableOpen) f.openTable2D();
        f.answer({OK, OK, OK});
        f.window->mnuUpload->trigger();
        EXPECT_EQ(f.prompts.messages().back(), c.last) << c.why;
        EXPECT_EQ(f.prompts.shown().back().icon, c.icon) << c.why;
        EXPECT_EQ(f.prompts.shown().back().detail, c.detail) << c.why;
        if (c.empty || c.tableOpen) {
            EXPECT_TRUE(f.port->sent.empty()) << c.why;
        }
        if (c.id == "QZ-1 Marine") {
            EXPECT_EQ(f.state.ModuleType, "QZ-1");
        }
    }
}

TEST(LineErrors, TheThirdErrorClosesThePortBeforeItsMessage) {
    TransferFixture f;
    f.port->open();
    std::vector<bool> openAtMessage;
    f.prompts.onMessage = [&](const test::ShownPrompt&) {
        openAtMessage.push_back(f.port->isOpen());
    };
    f.answer(std::vector(3, PromptAnswer::Retry));
    for (int i = 0; i < 3; ++i) f.port->onLineEvent(LineEvent::FramingError);
    EXPECT_EQ(openAtMessage, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(f.window->transfers().CommErrorCount, 3);
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

TEST(PortSetup, TheChosenPortAndATypedDeviceAreKept) {
    {
        TransferFixture first;
        EXPECT_EQ(first.window->cboPort->count(), 255);
        EXPECT_EQ(first.window->cboPort->itemText(254), "Com255");
        EXPECT_EQ(first.window->transfers().CommPortNumber, 1);
        first.port->open();
        first.window->cboPort->setCurrentIndex(2);
        first.window->cboPort_Click();
        EXPECT_FALSE(first.port->isOpen());
        EXPECT_EQ(first.port->portNumber(), 3);
        first.window->mnuPortSetup->trigger();
        EXPECT_TRUE(first.window->fraPortSelect->isVisibleTo(first.window.get()));
        first.window->cboDevice->setEditText("/dev/pts/7");
        first.window->cmdPortSelectOK->click();
        EXPECT_FALSE(first.window->fraPortSelect->isVisibleTo(first.window.get()));
    }
    TransferFixture again;
    EXPECT_EQ(again.window->transfers().CommPortNumber, 3) << "kept for the next start";
    EXPECT_EQ(again.window->cboPort->currentIndex(), 2);
    EXPECT_EQ(again.window->transfers().ports().deviceFor(3), "/dev/pts/7");
    EXPECT_EQ(again.window->cboDevice->currentText(), "/dev/pts/7");
    again.window->cboDevice->setEditText("");
    again.window->cmdPortSelectOK->click();
    again.window->cboPort->setCurrentIndex(0);
    again.window->cboPort_Click();
}

TEST(PortSetup, ResizingClosesThePortAndMinimisingLeavesItClosed) {
    TransferFixture f;
    Transfers& transfers = f.window->transfers();
    f.window->show();
    f.port->open();
    transfers.CommErrorCount = 2;
    f.window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_FALSE(f.port->isOpen());
    EXPECT_EQ(transfers.CommErrorCount, 2);
    f.window->showNormal();
    f.window->resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(transfers.CommErrorCount, 0);
    f.port->open();
    transfers.CommErrorCount = 1;
    f.window->Form_Resize();  // as the table editor calls it
    EXPECT_FALSE(f.port->isOpen());
    EXPECT_EQ(transfers.CommErrorCount, 0);
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
    f.window->transfers().protocol().delay = [](int) {};
    const int simulator =
        f.window->cboDevice->findData(QString::fromLatin1(PortDirectory::kSimulator));
    ASSERT_GE(simulator, 0) << "the simulator is always offered";
    f.window->cboDevice->setCurrentIndex(simulator);
    emit f.window->cboDevice->activated(simulator);
    f.prompts.answer(OK);
    f.prompts.answer(OK);
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.prompts.shown().back().text, "Downloaded data to buffer. Ready for editing.");
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
}

}  // namespace
}  // namespace qz
