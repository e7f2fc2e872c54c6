#include "link/module_protocol.h"

#include <asm/termbits.h>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

#include <QElapsedTimer>
#include <algorithm>
#include <cstdarg>

#include "link/line_errors.h"
#include "link/module_simulator.h"
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
using test::ScriptedPort;
using test::ScriptedPrompts;
using Bytes = std::vector<std::uint8_t>;

// A settling delay and how many bytes had been sent when it began.
struct Delay {
    int ms;
    std::size_t afterBytes;
    bool operator==(const Delay&) const = default;
};

// A scripted port that keeps how long each wait was given.
struct TimedPort : ScriptedPort {
    using ScriptedPort::ScriptedPort;
    void waitForBytes(int count, const QDeadlineTimer& deadline, bool pumpEvents) override {
        waitsMs.push_back(deadline.remainingTime());
        ScriptedPort::waitForBytes(count, deadline, pumpEvents);
    }
    std::vector<qint64> waitsMs;
};

struct Link {
    explicit Link(SimulatorFaults faults = {}, std::string id = kDefaultSimulatorId)
        : port(ModuleSimulator(demoTune(), std::move(id), faults)) {
        protocol.delay = [this](int ms) { delays.push_back({ms, port.sent.size()}); };
    }
    Bytes reads(int count) const {
        Bytes bytes{0x14, 0x10, 0x00};  // address 16, then the reads
        bytes.resize(bytes.size() + static_cast<std::size_t>(count), 0x15);
        return bytes;
    }
    ProgramState state;
    ScriptedPrompts prompts;
    RecordedProgress progress;
    TimedPort port;
    ModuleProtocol protocol{port, prompts, state, progress};
    std::vector<Delay> delays;
};

// One exchange each on a line with a byte left over from an earlier one: the bytes sent,
// whether it succeeded, the settling delays and whether the port is left open. Resync empties
// the line first and waits 2 ms after the acknowledge; an address goes command, low and high
// byte, 5 ms after each reply. A module that does not answer as it should fails the exchange
// without a word.
TEST(ModuleProtocol, ResyncAndAddressSelectionExchanges) {
    const std::vector<Delay> settled = {{5, 1}, {5, 2}, {5, 3}};
    const struct {
        int address;  // none for a resync
        SimulatorFaults faults;
        Bytes sent;
        bool ok;
        std::vector<Delay> delays;
    } cases[] = {
        // clang-format off
        {-1, {}, {0x33}, true, {{2, 1}}}, {-1, {.nakResync = true}, {0x33}, false, {{2, 1}}},
        {-1, {.silent = true}, {0x33}, false, {}}, {-1, {.noEcho = true}, {0x33}, false, {}},
        {0x1234, {}, {0x14, 0x34, 0x12}, true, settled},
        {16, {.nakAddress = true}, {0x14, 0x10, 0x00}, false, settled},
        // clang-format on
    };
    for (const auto& c : cases) {
        Link link(c.faults);
        link.port.open();
        link.port.arrive({0x99});
        c.address < 0 ? link.protocol.ReSync() : link.protocol.SetEEPROMAddress(c.address);
        EXPECT_EQ(std::tuple(link.port.sent, link.protocol.CommOK, link.delays, link.port.isOpen(),
                             link.prompts.shown().empty()),
                  std::tuple(c.sent, c.ok, c.delays, c.address < 0, true))
            << c.address;
    }
}

// The echo (or any other non-printable byte) first, then the characters from 32 to 127 up to
// the terminator, and 5 ms after it. A first byte that is the terminator or printable is an
// error, and so is an identification without its terminator (a timeout); Retry shows
// the error again.
TEST(ModuleProtocol, ReadsAndClassifiesTheIdentification) {
    using Start = SimulatorFaults::IdStart;
    const std::string timeout = kTimeoutMessage;
    const std::string terminator = "Firmware ID - unexpected terminator.";
    const std::string noEcho = "Firmware ID - no command echo.";
    // clang-format off
    const struct {
        std::string sent;
        SimulatorFaults faults;
        std::vector<std::string> messages;
        std::string id = {};
        std::string type = {};
    } cases[] = {
        {"QZ-1 V2.1", {}, {}, "QZ-1 V2.1", "QZ-1"},
        {"Ignition QZ-1 MARINE", {}, {}, "Ignition QZ-1 MARINE", "QZ-1 Marine"},
        {"XR-7", {}, {}, "XR-7", "Unknown"}, {"", {}, {}, "", "Unknown"},
        {"QZ-1\x1F V2\x80~\x7F", {}, {}, "QZ-1 V2~\x7F", "QZ-1"},
        {"QZ-1", {.idStart = Start::NonPrintable}, {}, "QZ-1", "QZ-1"},
        {"QZ-1", {.idStart = Start::CarriageReturn}, {terminator, terminator}},
        {"QZ-1", {.idStart = Start::Letter}, {noEcho, noEcho}},
        {"QZ", {.dropEvery = 4}, {timeout, timeout}},  // the terminator is dropped
    };
    // clang-format on
    for (const auto& c : cases) {
        Link link(c.faults, c.sent);
        link.prompts.answer(PromptAnswer::Retry);
        link.prompts.answer(PromptAnswer::Abort);
        link.protocol.ReadFirmwareID();
        EXPECT_EQ(std::tuple(link.port.sent, link.prompts.messages(), link.port.isOpen(),
                             link.protocol.CommOK),
                  std::tuple(Bytes{0x10}, c.messages, false, c.messages.empty() && !c.id.empty()))
            << c.sent;
        if (!c.messages.empty()) continue;
        EXPECT_EQ(link.delays, (std::vector<Delay>{{5, 1}})) << "5 ms after the terminator";
        EXPECT_EQ(std::pair(link.state.FirmwareID, link.state.ModuleType), std::pair(c.id, c.type));
    }
}

TEST(ModuleProtocol, ReadingTakesAddresses16To279InOrder) {
    Link link;
    link.state.UserAbort = true;  // an Esc from before the read does not stop it
    EepromBytes image;
    image.fill(0xEE);
    link.protocol.ReadEEPROMData(image);
    EXPECT_TRUE(link.protocol.CommOK);
    EXPECT_EQ(link.port.sent, link.reads(264));
    EXPECT_EQ(image, demoTune()) << "addresses 0-15 are zero in both";
    EXPECT_EQ(link.progress.captions, std::vector<std::string>{"Reading EEPROM"});
    // The bar follows the address (99.6 % at address 262 shows as 100).
    const auto& values = link.progress.values;
    EXPECT_EQ(
        std::tuple(values.front(), values[1], values[150 - 15], values[262 - 15], values.back()),
        std::tuple(0, 6, 57, 100, 100));
    EXPECT_FALSE(link.progress.visible || link.port.isOpen());
    EXPECT_EQ(link.delays.size(), 3u + 2 * 264) << "5 ms in each read and after it";
    EXPECT_TRUE(std::all_of(link.delays.begin(), link.delays.end(),
                            [](const Delay& delay) { return delay.ms == 5; }));
    EXPECT_TRUE(std::all_of(link.port.waitsMs.begin(), link.port.waitsMs.end(), [](qint64 ms) {
        return ms > 900 && ms <= 1000;
    })) << "each reply is given a second";
}

// A read at address 100 that goes wrong, and how it ends. An Esc stops the read at the next
// byte and is reset for the next transfer. A reply not beginning with the echo, or a byte too
// many, is an error (a noise byte stored as data could not be seen by any verification, which
// compares with the same buffer): Retry reads the address again. A device that goes away is
// said once; a module that stops answering times out.
TEST(ModuleProtocol, AReadThatGoesWrongEndsAsTheAnswerSays) {
    enum Event { Esc, Stray, LateStray, Lost, Silent };
    const std::string unexpected =
        "EEPROM read - unexpected reply at address 100. Check cable and click Retry.";
    const struct {
        Event event;
        PromptAnswer answer;
        std::vector<std::string> messages;
        bool read;
    } cases[] = {
        {Esc, PromptAnswer::Abort, {}, false},
        {Stray, PromptAnswer::Retry, {unexpected}, true},
        {Stray, PromptAnswer::Ignore, {unexpected}, false},
        {Stray, PromptAnswer::Abort, {unexpected}, false},
        {LateStray, PromptAnswer::Abort, {unexpected}, false},
        {Lost,
         PromptAnswer::Abort,
         {"RS-232 device /dev/ttyUSB0 was disconnected. Check cable and click Abort."},
         false},
        {Silent, PromptAnswer::Abort, {kTimeoutMessage}, false},
    };
    for (const auto& c : cases) {
        Link link(c.event == Stray    ? SimulatorFaults{.strayByteAt = 100}
                  : c.event == Silent ? SimulatorFaults{.vanishAt = 100}
                                      : SimulatorFaults{});
        const std::size_t at100 = link.reads(100 - 16 + 1).size();
        link.port.onWait = [&] {  // while the reply of address 100 is awaited
            if (link.port.sent.size() != at100) return;
            if (c.event == Esc) link.state.UserAbort = true;
            if (c.event == Lost) link.port.lose();
        };
        if (c.event == LateStray)  // a byte after the reply of address 100
            link.port.respond = [&, module = link.port.respond](std::uint8_t byte) {
                Bytes reply = module(byte);
                if (byte == 0x15 && link.port.sent.size() == at100) reply.push_back(0x15);
                return reply;
            };
        link.prompts.answer(c.answer);
        EepromBytes image{};
        link.protocol.ReadEEPROMData(image);
        EXPECT_EQ(std::pair(link.prompts.messages(), link.protocol.CommOK),
                  std::pair(c.messages, c.read));
        // A read that ends there sends nothing after address 100.
        EXPECT_TRUE(c.read ? image == demoTune() : link.port.sent == link.reads(100 - 16 + 1));
        EXPECT_FALSE(link.state.UserAbort || link.progress.visible || link.port.isOpen());
    }
}

TEST(ModuleProtocol, ProgrammingSendsEachByteThenVerifiesThemAll) {
    Link link;
    // A module that leaves a byte on the line after each acknowledge: each programmed byte
    // starts with an empty receive buffer.
    link.port.respond = [&, module = link.port.respond](std::uint8_t byte) {
        Bytes reply = module(byte);
        if (reply.size() == 2 && reply.back() == 0x06 && link.progress.captions.size() == 1)
            reply.push_back(0x77);
        return reply;
    };
    for (int a = 16; a < 280; ++a) link.state.EEPROMBuffer[a] = static_cast<std::uint8_t>(a * 3);
    link.state.UserAbort = true;  // Esc cannot stop programming, nor fail the verification
    link.protocol.WriteEEPROMData();
    Bytes expected = {0x14, 0x10, 0x00};
    for (int a = 16; a < 280; ++a)
        expected.insert(expected.end(), {0x16, static_cast<std::uint8_t>(a * 3)});
    const Bytes verification = link.reads(264);
    expected.insert(expected.end(), verification.begin(), verification.end());
    EXPECT_EQ(link.port.sent, expected);
    // 5 ms between 0x16 and its data byte, and 5 ms after the reply.
    EXPECT_EQ(std::tuple(link.delays[3], link.delays[4], link.protocol.CommOK,
                         link.state.VerifyErrorCount),
              std::tuple(Delay{5, 4}, Delay{5, 5}, true, 0));
    EXPECT_EQ(link.port.simulator().eeprom(), link.state.EEPROMBuffer);
    EXPECT_EQ(link.progress.captions,
              (std::vector<std::string>{"Programming EEPROM", "Verifying EEPROM"}));
    EXPECT_FALSE(link.port.isOpen());
}

// An upload of 0x77 throughout that goes wrong, and how it ends. A refused byte stops
// programming there without a word, the bytes below it programmed; a byte read back otherwise
// is counted and listed; an Esc in the verification counts as a difference and is reset. A
// port closed under the transfer (a line error's Cancel) fails the next write: the trap
// catches it like any error, whatever the answer, and the procedure ends through its clean-up.
TEST(ModuleProtocol, AnUploadThatGoesWrongEndsAsItShould) {
    enum Event { None, Esc, Close };
    const std::vector<std::string> closed = {"The port /dev/ttyUSB0 is closed."};
    const struct {
        SimulatorFaults faults;
        Event event;
        PromptAnswer answer;
        bool ok;
        int differences;
        std::vector<std::string> messages;
        int programmedBelow;  // the module's bytes from here on are still the demo tune's
        std::vector<Mismatch> mismatches = {};
    } cases[] = {
        // clang-format off
        {{.nakProgrammingAt = 100}, None, PromptAnswer::Abort, false, 0, {}, 100},
        {{.readBackDiffersAt = 200}, None, PromptAnswer::Abort, true, 1, {}, 280,
         {{200, 0x77, 0x77 ^ 0x5A}}},
        {{}, Esc, PromptAnswer::Abort, true, 1, {}, 280},
        {{}, Close, PromptAnswer::Abort, false, 0, closed, 79},
        {{}, Close, PromptAnswer::Ignore, false, 0, closed, 79},
        // clang-format on
    };
    for (const auto& c : cases) {
        Link link(c.faults);
        link.state.EEPROMBuffer.fill(0x77);
        link.progress.onValue = [&link, event = c.event](int percent) {
            if (event == Esc && link.progress.captions.back() == "Verifying EEPROM")
                link.state.UserAbort = true;
            if (event == Close && percent == 30) link.port.close();
        };
        link.prompts.answer(c.answer);
        link.protocol.WriteEEPROMData();
        EXPECT_EQ(link.prompts.messages(), c.messages);
        EXPECT_EQ(std::tuple(link.protocol.CommOK, link.state.VerifyErrorCount),
                  std::tuple(c.ok, c.differences));
        EXPECT_EQ(link.protocol.mismatches, c.mismatches);
        EXPECT_FALSE(link.state.UserAbort || link.progress.visible || link.port.isOpen());
        EepromBytes module = demoTune();
        std::fill(module.begin() + 16, module.begin() + c.programmedBelow, 0x77);
        EXPECT_EQ(link.port.simulator().eeprom(), module) << c.programmedBelow;
    }
}

// A port that cannot be opened is reported once, whatever the answer.
TEST(ModuleProtocol, APortThatCannotBeOpenedIsReportedOnce) {
    for (const PromptAnswer answer : {PromptAnswer::Abort, PromptAnswer::Ignore}) {
        Link link;
        link.port.failToOpen = true;
        link.prompts.answer(answer);
        link.protocol.ReSync();
        EXPECT_EQ(link.prompts.messages(),
                  std::vector<std::string>{"Cannot open /dev/ttyUSB0: Permission denied"});
        EXPECT_TRUE(link.protocol.portFailed() && !link.protocol.CommOK && link.port.sent.empty());
    }
}

// Retry goes on with the exchange from a clean line.
TEST(LineErrors, RetryDiscardsWhatArrivedWithTheError) {
    Link link;
    link.port.open();
    link.port.arrive({0x15, 0x99});
    link.prompts.answer(PromptAnswer::Retry);
    int errors = 0;
    handleLineEvent(static_cast<int>(LineEvent::FramingError), errors, link.port, link.prompts);
    EXPECT_EQ(link.port.bytesWaiting(), 0);
    EXPECT_TRUE(link.port.isOpen());
}

// The module needs at least the settling time it is given; the upper bound is generous, as
// the machine may be busy.
TEST(DelayTimer, NeverEndsEarly) {
    DelayTimer delay;
    for (const int ms : {0, 1, 5, 50}) {
        QElapsedTimer elapsed;
        elapsed.start();
        delay(ms);
        EXPECT_GE(elapsed.nsecsElapsed(), ms * 1'000'000LL);
        EXPECT_LT(elapsed.nsecsElapsed(), ms * 1'000'000LL + 500'000'000LL);
    }
}

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
    // 56000 baud, 8 data bits, no parity, one stop bit, no flow control; every byte, 0x0D and
    // 0x11 included, arrives unchanged.
    EXPECT_EQ(
        std::tuple(line.c_ispeed, line.c_ospeed, line.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS),
                   line.c_iflag & (IXON | IXOFF | ISTRIP | ICRNL | IGNCR | INLCR),
                   line.c_lflag & ICANON, link.port.device().readBufferSize()),
        std::tuple(56000u, 56000u, static_cast<tcflag_t>(CS8), 0u, 0u, 256));
    link.port.close();
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
        EXPECT_FALSE(link.protocol.CommOK || link.port.isOpen());
    }
}

}  // namespace
}  // namespace qz
