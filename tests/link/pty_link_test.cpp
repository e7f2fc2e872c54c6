#include <asm/termbits.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <cstdarg>

#include "link/module_protocol.h"
#include "link/pty_simulator_host.h"
#include "link/qt_serial_port.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

namespace {

// A pseudo-terminal has no modem lines, so the port's requests for them are caught on their
// way to the kernel: each set (TIOCMBIS) or clear (TIOCMBIC) with its lines.
std::vector<std::pair<unsigned long, int>> modemLineRequests;

}  // namespace

extern "C" int ioctl(int fd, unsigned long request, ...) noexcept {
    va_list arguments;
    va_start(arguments, request);
    void* argument = va_arg(arguments, void*);
    va_end(arguments);
    if (request == TIOCMBIS || request == TIOCMBIC)
        modemLineRequests.emplace_back(request, *static_cast<int*>(argument));
    using Ioctl = int (*)(int, unsigned long, ...);
    static const auto next = reinterpret_cast<Ioctl>(dlsym(RTLD_NEXT, "ioctl"));
    return next(fd, request, argument);
}

namespace qz {
namespace {

using test::RecordedProgress;
using test::ScriptedPrompts;

// The program's real serial port code against a simulated module on a pseudo-terminal. The
// settling delays are left out: what is tested here is the bytes on the tty, not timing.
struct PtyLink {
    explicit PtyLink(SimulatorFaults faults = {}, std::string id = kDefaultSimulatorId)
        : host(ModuleSimulator(demoTune(), std::move(id), faults)),
          port([this](int) { return host.devicePath(); }) {
        port.applyLineSettings();
        protocol.delay = [](int) {};
    }
    PtySimulatorHost host;
    QtSerialPort port;
    ProgramState state;
    ScriptedPrompts prompts;
    RecordedProgress progress;
    ModuleProtocol protocol{port, prompts, state, progress};
};

// Read back from the terminal itself, not from what Qt remembers having set.
TEST(PtyLink, TheLineSettingsHoldOnTheTerminal) {
    PtyLink link;
    modemLineRequests.clear();
    link.port.open();
    EXPECT_EQ(modemLineRequests, (std::vector<std::pair<unsigned long, int>>{
                                     {TIOCMBIS, TIOCM_DTR}, {TIOCMBIC, TIOCM_RTS}}))
        << "DTR on, RTS off";
    termios2 line{};
    ASSERT_EQ(ioctl(static_cast<int>(link.port.device().handle()), TCGETS2, &line), 0);
    EXPECT_EQ(line.c_ispeed, 56000u);
    EXPECT_EQ(line.c_ospeed, 56000u);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF | ISTRIP | ICRNL | IGNCR | INLCR), 0u)
        << "every byte, 0x0D and 0x11 included, arrives unchanged";
    EXPECT_EQ(line.c_lflag & ICANON, 0u);
    EXPECT_EQ(link.port.device().readBufferSize(), 256);
    link.port.close();
}

TEST(PtyLink, ADownloadAndAnUploadLeaveModuleAndBufferAlike) {
    PtyLink link;
    link.protocol.ReSync();
    ASSERT_TRUE(link.protocol.CommOK);
    link.protocol.ReadFirmwareID();
    EXPECT_EQ(link.state.FirmwareID, kDefaultSimulatorId);
    EXPECT_EQ(link.state.ModuleType, "QZ-1");
    EepromBytes image{};
    link.protocol.ReadEEPROMData(image);
    ASSERT_TRUE(link.protocol.CommOK);
    EXPECT_EQ(image, link.host.eeprom());

    link.state.EEPROMBuffer = image;
    for (int a = 16; a < 280; a += 7) link.state.EEPROMBuffer[a] ^= 0xA5;
    link.state.EEPROMBuffer[16] = 0x00;  // NUL bytes travel unchanged
    link.state.EEPROMBuffer[17] = 0x0D;
    link.protocol.WriteEEPROMData();
    EXPECT_TRUE(link.protocol.CommOK);
    EXPECT_EQ(link.state.VerifyErrorCount, 0);
    EXPECT_EQ(link.host.eeprom(), link.state.EEPROMBuffer);
    EXPECT_FALSE(link.port.isOpen());
    EXPECT_TRUE(link.prompts.shown().empty());
}

// Characters still arriving after the deadline are a timeout: the deadline is for the whole
// identification. The module's line hanging up at address 100, as a pulled USB adapter does,
// ends the read at once with its own message, not a timeout a second later.
TEST(PtyLink, ASlowIdentificationTimesOutAndAVanishedDeviceEndsTheReadAtOnce) {
    for (const bool slow : {true, false}) {
        PtyLink link(slow ? SimulatorFaults{.idCharacterDelayMs = 150}
                          : SimulatorFaults{.vanishAt = 100});
        link.prompts.answer(PromptAnswer::Abort);
        EepromBytes image{};
        slow ? link.protocol.ReadFirmwareID() : link.protocol.ReadEEPROMData(image);
        EXPECT_EQ(link.prompts.messages(),
                  std::vector<std::string>{
                      slow ? kTimeoutMessage
                           : disconnectedMessage(link.host.devicePath().toStdString())});
        EXPECT_FALSE(link.protocol.CommOK);
        EXPECT_FALSE(link.port.isOpen());
    }
}

}  // namespace
}  // namespace qz
