#include "link/module_protocol.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <algorithm>

#include "link/line_errors.h"
#include "link/module_simulator.h"
#include "support/scripted_port.h"
#include "support/scripted_prompts.h"

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
        Bytes bytes(3 + static_cast<std::size_t>(count), 0x15);  // address 16, then the reads
        bytes[0] = 0x14;
        bytes[1] = 0x10;
        bytes[2] = 0x00;
        return bytes;
    }
    ProgramState state;
    ScriptedPrompts prompts;
    RecordedProgress progress;
    TimedPort port;
    ModuleProtocol protocol{port, prompts, state, progress};
    std::vector<Delay> delays;
};

TEST(ModuleProtocol, ResyncEmptiesTheLineSendsOneByteAndWantsTheAcknowledge) {
    Link ok;
    ok.port.open();
    ok.port.arrive({0x99});  // left over from an earlier exchange
    ok.protocol.ReSync();
    EXPECT_EQ(ok.port.sent, Bytes{0x33});
    EXPECT_TRUE(ok.protocol.CommOK);
    EXPECT_TRUE(ok.port.isOpen()) << "resync leaves the port open";
    EXPECT_EQ(ok.delays, (std::vector<Delay>{{2, 1}}));
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
        {"qz-1 marine v1", {}, {}, "qz-1 marine v1", "QZ-1 Marine"},
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
        EXPECT_EQ(link.port.sent, Bytes{0x10});
        EXPECT_EQ(link.prompts.messages(), c.messages) << c.sent;
        EXPECT_FALSE(link.port.isOpen());
        EXPECT_EQ(link.protocol.CommOK, c.messages.empty() && !c.id.empty()) << c.sent;
        if (!c.messages.empty()) continue;
        EXPECT_EQ(link.delays, (std::vector<Delay>{{5, 1}})) << "5 ms after the terminator";
        EXPECT_EQ(link.state.FirmwareID, c.id);
        EXPECT_EQ(link.state.ModuleType, c.type);
    }
}

TEST(ModuleProtocol, AddressSelectionSendsCommandLowAndHighByte) {
    Link link;
    link.protocol.SetEEPROMAddress(16);
    EXPECT_EQ(link.port.sent, (Bytes{0x14, 0x10, 0x00}));
    EXPECT_TRUE(link.protocol.CommOK);
    EXPECT_EQ(link.delays, (std::vector<Delay>{{5, 1}, {5, 2}, {5, 3}}));
    EXPECT_FALSE(link.port.isOpen());
    Link high;
    high.protocol.SetEEPROMAddress(0x1234);
    EXPECT_EQ(high.port.sent, (Bytes{0x14, 0x34, 0x12}));
}

// A module that does not answer as it should fails the exchange without a word.
TEST(ModuleProtocol, AResyncOrAnAddressRefusedFailsSilently) {
    for (const SimulatorFaults faults :
         {SimulatorFaults{.silent = true}, SimulatorFaults{.nakResync = true},
          SimulatorFaults{.noEcho = true}, SimulatorFaults{.nakAddress = true}}) {
        Link failing(faults);
        faults.nakAddress ? failing.protocol.SetEEPROMAddress(16) : failing.protocol.ReSync();
        EXPECT_FALSE(failing.protocol.CommOK);
        EXPECT_TRUE(failing.prompts.shown().empty());
        EXPECT_TRUE(!faults.nakAddress || !failing.port.isOpen());
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
    EXPECT_EQ(link.progress.values.front(), 0);
    EXPECT_EQ(link.progress.values[1], 6);
    EXPECT_EQ(link.progress.values.back(), 100);
    EXPECT_FALSE(link.progress.visible);
    EXPECT_FALSE(link.port.isOpen());
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
        std::string message;
        bool read;
    } cases[] = {
        {Esc, PromptAnswer::Abort, "", false},
        {Stray, PromptAnswer::Retry, unexpected, true},
        {Stray, PromptAnswer::Ignore, unexpected, false},
        {Stray, PromptAnswer::Abort, unexpected, false},
        {LateStray, PromptAnswer::Abort, unexpected, false},
        {Lost, PromptAnswer::Abort,
         "RS-232 device /dev/ttyUSB0 was disconnected. Check cable and click Abort.", false},
        {Silent, PromptAnswer::Abort, kTimeoutMessage, false},
    };
    for (const auto& c : cases) {
        Link link(c.event == Stray    ? SimulatorFaults{.strayByteAt = 100}
                  : c.event == Silent ? SimulatorFaults{.vanishAt = 100}
                                      : SimulatorFaults{});
        const std::size_t at100 = link.reads(100 - 16 + 1).size();
        if (c.event == Esc)
            link.progress.onValue = [&](int) {
                if (link.port.sent.size() == at100) link.state.UserAbort = true;
            };
        if (c.event == Lost)
            link.port.onWait = [&] {
                if (link.port.sent.size() == at100) link.port.lose();
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
        EXPECT_EQ(link.prompts.messages(), c.message.empty() ? std::vector<std::string>{}
                                                             : std::vector<std::string>{c.message});
        EXPECT_EQ(link.protocol.CommOK, c.read);
        if (c.read) {
            EXPECT_EQ(image, demoTune());
        } else {
            EXPECT_EQ(link.port.sent, link.reads(100 - 16 + 1));
        }
        EXPECT_FALSE(link.state.UserAbort);
        EXPECT_FALSE(link.progress.visible);
        EXPECT_FALSE(link.port.isOpen());
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
    EXPECT_EQ(link.delays[3], (Delay{5, 4})) << "5 ms between 0x16 and its data byte";
    EXPECT_EQ(link.delays[4], (Delay{5, 5})) << "and 5 ms after the reply";
    EXPECT_TRUE(link.protocol.CommOK);
    EXPECT_EQ(link.state.VerifyErrorCount, 0);
    EXPECT_EQ(link.port.simulator().eeprom(), link.state.EEPROMBuffer);
    EXPECT_EQ(link.progress.captions,
              (std::vector<std::string>{"Programming EEPROM", "Verifying EEPROM"}));
    EXPECT_FALSE(link.port.isOpen());
}

TEST(ModuleProtocol, ARefusedByteStopsProgrammingThere) {
    Link link({.nakProgrammingAt = 100});
    link.state.EEPROMBuffer.fill(0x77);
    link.protocol.WriteEEPROMData();
    EXPECT_FALSE(link.protocol.CommOK);
    EXPECT_TRUE(link.prompts.shown().empty());
    EXPECT_FALSE(link.progress.visible);
    EXPECT_FALSE(link.port.isOpen());
    const EepromBytes module = link.port.simulator().eeprom();
    for (int a = 16; a < 280; ++a) EXPECT_EQ(module[a], a < 100 ? 0x77 : demoTune()[a]) << a;
}

TEST(ModuleProtocol, VerificationCountsAndListsDifferencesAndAnInterruption) {
    Link differing({.readBackDiffersAt = 200});
    differing.state.EEPROMBuffer = demoTune();
    differing.protocol.WriteEEPROMData();
    EXPECT_TRUE(differing.protocol.CommOK);
    EXPECT_EQ(differing.state.VerifyErrorCount, 1);
    EXPECT_EQ(differing.protocol.mismatches,
              (std::vector<Mismatch>{
                  {200, demoTune()[200], static_cast<std::uint8_t>(demoTune()[200] ^ 0x5A)}}));

    Link interrupted;
    interrupted.state.EEPROMBuffer = demoTune();
    interrupted.progress.onValue = [&](int) {
        if (interrupted.progress.captions.back() == "Verifying EEPROM")
            interrupted.state.UserAbort = true;
    };
    interrupted.protocol.WriteEEPROMData();
    EXPECT_EQ(interrupted.state.VerifyErrorCount, 1);
    EXPECT_FALSE(interrupted.state.UserAbort);
}

// A port closed under a transfer (a line error's Cancel) fails the next write; the trap
// catches it like any error and the procedure ends through its clean-up. A port that cannot
// be opened is reported once, whatever the answer.
TEST(ModuleProtocol, APortClosedOrUnopenedIsReportedThroughTheTrap) {
    for (const PromptAnswer answer : {PromptAnswer::Abort, PromptAnswer::Ignore}) {
        Link closed;
        closed.state.EEPROMBuffer = demoTune();
        closed.progress.onValue = [&](int percent) {
            if (percent == 30) closed.port.close();
        };
        closed.prompts.answer(answer);
        closed.protocol.WriteEEPROMData();
        EXPECT_EQ(closed.prompts.messages(),
                  std::vector<std::string>{"The port /dev/ttyUSB0 is closed."});
        EXPECT_FALSE(closed.protocol.CommOK);
        EXPECT_FALSE(closed.progress.visible);

        Link unopened;
        unopened.port.failToOpen = true;
        unopened.prompts.answer(answer);
        unopened.protocol.ReSync();
        EXPECT_EQ(unopened.prompts.messages(),
                  std::vector<std::string>{"Cannot open /dev/ttyUSB0: Permission denied"});
        EXPECT_TRUE(unopened.protocol.portFailed());
        EXPECT_FALSE(unopened.protocol.CommOK);
        EXPECT_TRUE(unopened.port.sent.empty());
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
    for (const int ms : {0, 1, 5}) {
        QElapsedTimer elapsed;
        elapsed.start();
        delay(ms);
        EXPECT_GE(elapsed.nsecsElapsed(), ms * 1'000'000LL);
        EXPECT_LT(elapsed.nsecsElapsed(), ms * 1'000'000LL + 500'000'000LL);
    }
}

TEST(ModuleProtocol, TheBarFollowsTheAddress) {
    EXPECT_EQ(progressFor(16), 6);
    EXPECT_EQ(progressFor(150), 57);
    EXPECT_EQ(progressFor(262), 100);  // 99.6
    for (int address = 263; address <= 279; ++address) EXPECT_EQ(progressFor(address), 100);
}

}  // namespace
}  // namespace qz
