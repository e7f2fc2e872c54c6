#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTest>

#include "link/line_errors.h"
#include "link/port_directory.h"
#include "support/transfer_fixture.h"

namespace qz {
namespace {

using test::TransferFixture;
using Bytes = std::vector<std::uint8_t>;
using test::OK;

int reads(const TransferFixture& f) {
    return int(std::count(f.port->sent.begin(), f.port->sent.end(), 0x15));
}

// A download reads the module under a busy cursor (an Esc long before does not stop it),
// opens the module parameters and gives the window back; closing the window meanwhile
// closes it once the transfer has ended, with no dialog.
TEST(Download, ReadsTheModuleAndOpensTheModuleParameters) {
    for (const bool closed : {false, true}) {
        TransferFixture f;
        f.window->show();
        QTest::keyClick(f.window.get(), Qt::Key_Escape);
        std::string firstCaption;
        bool busy = false;
        f.port->onWait = [&] {
            if (firstCaption.empty()) firstCaption = f.window->fraProgress1->title().toStdString();
            busy = QApplication::overrideCursor() &&
                   QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            if (closed && reads(f) == 10) f.window->close();
        };
        f.answer({OK, OK});
        f.window->mnuDownload->trigger();
        EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
        EXPECT_EQ(f.window->isVisible(), !closed);
        EXPECT_EQ(f.dialogsShown,
                  closed ? std::vector<std::string>{} : std::vector<std::string>{"frmModParams"});
        if (closed) continue;
        const auto& shown = f.prompts.shown();
        EXPECT_EQ(f.prompts.messages(),
                  (std::vector<std::string>{"Firmware ID: QZ-1 V2.1 SIM",
                                            "Downloaded data to buffer. Ready for editing."}));
        EXPECT_EQ(std::tuple(shown[0].icon, shown[1].icon, shown[1].title),
                  std::tuple(PromptIcon::Exclamation, PromptIcon::None,
                             std::string("Download From EEPROM")));
        EXPECT_EQ(std::pair(firstCaption, busy),
                  std::pair(std::string("Checking RS-232 link"), true));
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - Downloaded Data");
        EXPECT_FALSE(f.window->fraProgress1->isVisible() || f.port->isOpen());
    }
}

// Nothing the user had is lost when a download does not complete, for whatever reason (one
// case for each message the window ends with); meanwhile the commands are refused, and come back
// however it ends, a lost port included.
TEST(Download, AFailedDownloadLeavesBufferTablesAndCaptionAsTheyWere) {
    const std::string overwrite = "Data buffer not empty. OK to overwrite?";
    const std::string firmware = "Firmware ID: QZ-1 V2.1 SIM";
    // clang-format off
    // Why, the module's faults and id, the answers, the messages, the last one's icon, and
    // whether the port is lost.
    const std::tuple<const char*, SimulatorFaults, std::string, std::vector<PromptAnswer>, std::vector<std::string>, PromptIcon, bool> cases[] = {
        {"no answer", {.silent = true}, kDefaultSimulatorId, {OK, OK}, {overwrite, "Cannot establish RS-232 link. Check cable and QZ-1 power."}, PromptIcon::Exclamation, false},
        {"marine module", {}, "QZ-1 Marine V1", {OK, OK, OK}, {overwrite, "Firmware ID: QZ-1 Marine V1", "Not standard QZ-1 unit. Cannot download and edit data."}, PromptIcon::None, false},
        {"port lost", {}, kDefaultSimulatorId, {OK, OK, PromptAnswer::Abort, OK}, {overwrite, firmware, disconnectedMessage("/dev/ttyUSB0"), "Download failed."}, PromptIcon::Exclamation, true},
    };
    // clang-format on
    for (const auto& [why, faults, id, answers, messages, icon, lose] : cases) {
        TransferFixture f(faults, id);
        f.state.EEPROMBuffer.fill(0x21);  // what the user had: a tune opened from a file
        f.state.BufferEmpty = false;
        f.state.TrigTiming = 12;
        f.state.FirmwareID = "QZ-1 street";
        f.window->setWindowTitle("Tunewell QZ Version 1.5 - street.dat");
        f.openTable2D();
        const EepromBytes before = f.state.EEPROMBuffer;
        std::vector<bool> during;
        f.port->onWait = [&, lose = lose] {
            if (reads(f) != 100 || !during.empty()) return;
            for (QAction* a : {f.window->mnuOpenFile, f.window->mnuDownload, f.window->mnuUpload,
                               f.window->mnuEditModParams, f.window->mnuExit, f.window->mnuAbout,
                               f.window->mnuHelp->menuAction()})
                during.push_back(a->isEnabled());
            if (lose) f.port->lose();
        };
        f.answer(answers);
        f.window->mnuDownload->trigger();
        SCOPED_TRACE(why);
        EXPECT_EQ(f.prompts.messages(), messages);
        EXPECT_EQ(f.prompts.shown().back().icon, icon);
        EXPECT_EQ(f.state.EEPROMBuffer, before);
        EXPECT_EQ(std::tuple(f.state.BufferEmpty, f.state.TrigTiming, f.state.ModuleType,
                             f.state.UserAbort, f.state.FirmwareID),
                  std::tuple(false, 12, std::string("QZ-1"), false, std::string("QZ-1 street")));
        EXPECT_EQ(f.caption(), "Tunewell QZ Version 1.5 - street.dat");
        EXPECT_TRUE(f.window->editor().tableOpen() && f.dialogsShown.empty());
        EXPECT_TRUE(!faults.silent || f.port->sent == Bytes(5, 0x33)) << "five resyncs";
        EXPECT_TRUE(during.empty() ||
                    during == (std::vector<bool>{false, false, false, false, false, true, true}));
        EXPECT_TRUE(f.window->mnuOpenFile->isEnabled() && f.window->mnuExit->isEnabled());
        EXPECT_FALSE(f.window->mnuPopUpPaste2D->isEnabled()) << "states come back as they were";
        EXPECT_FALSE(f.window->transfers().running() || f.port->isOpen());
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }
}

// Upload encodes the parameters first, programs and verifies (that an Esc meanwhile changes
// nothing is the protocol's own test).
TEST(Upload, ProgramsAndVerifiesTheBufferOrSaysWhyNot) {
    const std::string done =
        "Upload completed. Remember to cycle power off for 5 seconds\nand then on again before "
        "starting engine.";
    const std::string differs = "address 150: wrote " + std::to_string(demoTune()[150]) +
                                ", read " + std::to_string(demoTune()[150] ^ 0x5A) + "\n";
    const auto Exclaim = PromptIcon::Exclamation, Info = PromptIcon::Information;
    // clang-format off
    // Why, the module's faults and id, an empty buffer, an open table, and the last message.
    const std::tuple<const char*, SimulatorFaults, std::string, bool, bool, std::string, PromptIcon, std::string> cases[] = {
        {"verified", {}, kDefaultSimulatorId, false, false, done, Exclaim, ""},
        {"open table", {}, kDefaultSimulatorId, false, true, "You must close or save any open table before uploading.", Exclaim, ""},
        {"empty buffer", {}, kDefaultSimulatorId, true, false, "No data available for uploading.", Exclaim, ""},
        {"marine", {}, "QZ-1 Marine", false, false, "Not standard QZ-1 unit. Cannot upload data.", PromptIcon::None, ""},
        {"no identification", {}, "", false, false, "Firmware ID read failed - cannot upload.", Exclaim, ""},
        {"refused at 100", {.nakProgrammingAt = 100}, kDefaultSimulatorId, false, false, "Upload aborted - EEPROM programming failed.", Info, ""},
        {"read back differs", {.readBackDiffersAt = 150}, kDefaultSimulatorId, false, false, "Upload aborted - EEPROM verification failed.", Info, differs},
    };
    // clang-format on
    for (const auto& [why, faults, id, empty, tableOpen, text, icon, detail] : cases) {
        SCOPED_TRACE(why);
        TransferFixture f(faults, id);
        f.state.EEPROMBuffer = demoTune();
        f.state.BufferEmpty = empty;
        f.state.RetardComp = 40;
        if (tableOpen) f.openTable2D();
        f.answer({OK, OK, OK});
        f.window->mnuUpload->trigger();
        const test::ShownPrompt& last = f.prompts.shown().back();
        EXPECT_EQ(std::tuple(last.text, last.icon, last.detail, last.title),
                  std::tuple(text, icon, detail, std::string("Upload To EEPROM")));
        EXPECT_TRUE(!(empty || tableOpen) || f.port->sent.empty()) << "nothing sent";
        if (text == done) {
            EXPECT_EQ(f.state.EEPROMBuffer[52], 40) << "the parameters were encoded first";
            EXPECT_EQ(f.port->simulator().eeprom(), f.state.EEPROMBuffer);
        }
    }
}

// Retry answers two line errors; the third closes the port before its message, as Cancel does.
TEST(LineErrors, TheThirdErrorClosesThePortBeforeItsMessage) {
    TransferFixture f;
    f.port->open();
    std::vector<bool> openAtMessage;
    f.prompts.onMessage = [&](const test::ShownPrompt&) {
        openAtMessage.push_back(f.port->isOpen());
    };
    f.answer({PromptAnswer::Retry, PromptAnswer::Retry, PromptAnswer::Retry, PromptAnswer::Cancel});
    for (int i = 0; i < 3; ++i) f.port->onLineEvent(LineEvent::FramingError);
    EXPECT_EQ(openAtMessage, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(f.window->transfers().CommErrorCount, 3);
    const test::ShownPrompt& shown = f.prompts.shown()[0];
    EXPECT_EQ(std::tuple(shown.text, shown.title, shown.buttons, shown.icon),
              std::tuple(std::string("Framing error."), std::string("Communications Error"),
                         PromptButtons::RetryCancel, PromptIcon::Critical));
    f.window->transfers().CommErrorCount = 0;
    f.port->open();
    f.port->onLineEvent(LineEvent::ParityError);
    EXPECT_FALSE(f.port->isOpen()) << "Cancel";
    EXPECT_EQ(lineEventMessage(1010), "Transmit buffer full.");
    EXPECT_EQ(lineEventMessage(2), std::nullopt);
}

// The chosen port and a typed device are kept for the next start; choosing closes the port,
// as a resize does (which also clears the error count); minimising leaves it closed.
TEST(PortSetup, TheChosenPortIsKeptAndAResizeClosesIt) {
    {
        TransferFixture first;
        QComboBox& ports = *first.window->cboPort;
        EXPECT_EQ(std::tuple(ports.count(), ports.itemText(254),
                             first.window->transfers().CommPortNumber),
                  std::tuple(255, QString("Com255"), 1));
        first.port->open();
        ports.setCurrentIndex(2);
        first.window->cboPort_Click();
        EXPECT_EQ(std::pair(first.port->isOpen(), first.port->portNumber()), std::pair(false, 3));
        first.window->mnuPortSetup->trigger();
        EXPECT_TRUE(first.window->fraPortSelect->isVisibleTo(first.window.get()));
        first.window->cboDevice->setEditText("/dev/pts/7");
        first.window->cmdPortSelectOK->click();
        EXPECT_FALSE(first.window->fraPortSelect->isVisibleTo(first.window.get()));
    }
    TransferFixture f;
    Transfers& transfers = f.window->transfers();
    EXPECT_EQ(std::tuple(transfers.CommPortNumber, f.window->cboPort->currentIndex(),
                         transfers.ports().deviceFor(3), f.window->cboDevice->currentText()),
              std::tuple(3, 2, QString("/dev/pts/7"), QString("/dev/pts/7")))
        << "kept for the next start";
    f.window->show();
    f.port->open();
    transfers.CommErrorCount = 2;
    f.window->showMinimized();
    QCoreApplication::processEvents();
    EXPECT_EQ(std::pair(f.port->isOpen(), transfers.CommErrorCount), std::pair(false, 2));
    f.window->showNormal();
    f.port->open();
    transfers.CommErrorCount = 1;
    f.window->Form_Resize();  // as the table editor calls it
    EXPECT_EQ(std::pair(f.port->isOpen(), transfers.CommErrorCount), std::pair(false, 0));
}

TEST(PortDirectory, NumbersOpenDevicesInOrderAndTheSimulatorWithoutAny) {
    QSettings settings(QSettings::IniFormat, QSettings::UserScope, "test", "ports");
    settings.clear();
    PortDirectory none(settings, {}), some(settings, {"/dev/ttyUSB0", "/dev/ttyS0"});
    EXPECT_EQ(
        std::tuple(none.deviceFor(1), none.deviceFor(2), some.deviceFor(1), some.deviceFor(2)),
        std::tuple(QString("simulator"), QString(), QString("/dev/ttyUSB0"),
                   QString("/dev/ttyS0")));
    settings.setValue("Properties/CommPort", "12");
    EXPECT_EQ(some.savedPortNumber(), 12);
    settings.setValue("Properties/CommPort", "Com3");
    EXPECT_EQ(some.savedPortNumber(), 1);
    settings.clear();
}

// The whole road on the real serial port code: the built-in simulator on a pseudo-terminal.
TEST(Download, FromTheBuiltInSimulator) {
    test::MainWindowFixture f;
    f.window->transfers().protocol().delay = [](int) {};
    const int simulator =
        f.window->cboDevice->findData(QString::fromLatin1(PortDirectory::kSimulator));
    ASSERT_GE(simulator, 0) << "the simulator is always offered";
    f.window->cboDevice->setCurrentIndex(simulator);
    emit f.window->cboDevice->activated(simulator);
    f.answer({OK, OK});
    f.window->mnuDownload->trigger();
    EXPECT_EQ(f.state.EEPROMBuffer, demoTune());
}

}  // namespace
}  // namespace qz
