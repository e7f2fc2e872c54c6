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

    for (const SimulatorFaults faults :
         {SimulatorFaults{.silent = true}, SimulatorFaults{.nakResync = true},
          SimulatorFaults{.noEcho = true}}) {
        Link failing(faults);
        failing.protocol.ReSync();
        EXPECT_FALSE(failing.protocol.CommOK);
        EXPECT_TRUE(failing.prompts.shown().empty()) << "a failed resync says nothing";
    }
}

TEST(ModuleProtocol, ReadsAndClassifiesTheIdentification) {
    const struct {
        std::string sent;
        std::string id;
        std::string type;
        bool ok;
    } cases[] = {
        {"QZ-1 V2.1", "QZ-1 V2.1", "QZ-1", true},
        {"qz-1 marine v1", "qz-1 marine v1", "QZ-1 Marine", true},
        {"Ignition QZ-1 MARINE", "Ignition QZ-1 MARINE", "QZ-1 Marine", true},
        {"XR-7", "XR-7", "Unknown", true},
        {"", "", "Unknown", false},
        {"QZ-1\x1F V2\x80~\x7F", "QZ-1 V2~\x7F", "QZ-1", true},  // only 32..127 kept
    };
    for (const auto& c : cases) {
        Link link({}, c.sent);
        link.protocol.ReadFirmwareID();
        EXPECT_EQ(link.port.sent, Bytes{0x10});
        EXPECT_EQ(link.delays, (std::vector<Delay>{{5, 1}})) << "5 ms after the terminator";
        EXPECT_EQ(link.state.FirmwareID, c.id);
        EXPECT_EQ(link.state.ModuleType, c.type);
        EXPECT_EQ(link.protocol.CommOK, c.ok) << c.id;
        EXPECT_FALSE(link.port.isOpen());
        EXPECT_TRUE(link.prompts.shown().empty());
    }
}

TEST(ModuleProtocol, TheIdentificationsFirstByteDecidesItsErrors) {
    const struct {
        SimulatorFaults::IdStart start;
        const char* message;  // "" for none
        const char* id;
    } cases[] = {
        {SimulatorFaults::IdStart::CarriageReturn, "Firmware ID - unexpected terminator.", ""},
        {SimulatorFaults::IdStart::Letter, "Firmware ID - no command echo.", ""},
        {SimulatorFaults::IdStart::NonPrintable, "", "QZ-1 V2.1 SIM"},  // passed over
    };
    for (const auto& c : cases) {
        Link link({.idStart = c.start});
        if (*c.message) link.prompts.answer(PromptAnswer::Ignore);
        link.protocol.ReadFirmwareID();
        EXPECT_EQ(link.prompts.shown().empty() ? "" : link.prompts.shown()[0].text, c.message);
        if (*c.message) {
            EXPECT_EQ(link.prompts.shown()[0].title, "Error");
            EXPECT_EQ(link.prompts.shown()[0].buttons, PromptButtons::AbortRetryIgnore);
        }
        EXPECT_EQ(link.state.FirmwareID, c.id);
        EXPECT_EQ(link.protocol.CommOK, !*c.message);
        EXPECT_FALSE(link.port.isOpen());
    }
}

TEST(ModuleProtocol, AnIdentificationWithoutItsTerminatorTimesOutAndRetryShowsItAgain) {
    Link link;
    link.port.respond = [](std::uint8_t) { return Bytes{0x10, 'Q', 'Z'}; };
    link.prompts.answer(PromptAnswer::Retry);
    link.prompts.answer(PromptAnswer::Abort);
    link.protocol.ReadFirmwareID();
    EXPECT_EQ(link.prompts.messages(), std::vector<std::string>(2, kTimeoutMessage));
    EXPECT_FALSE(link.protocol.CommOK);
    EXPECT_FALSE(link.port.isOpen());
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

    Link refused({.nakAddress = true});
    refused.protocol.SetEEPROMAddress(16);
    EXPECT_FALSE(refused.protocol.CommOK);
    EXPECT_TRUE(refused.prompts.shown().empty());
    EXPECT_FALSE(refused.port.isOpen());
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

TEST(ModuleProtocol, EscStopsAReadAtTheNextByte) {
    Link link;
    link.progress.onValue = [&](int) {  // Esc while address 100 is read
        if (link.port.sent.size() == link.reads(100 - 16 + 1).size()) link.state.UserAbort = true;
    };
    EepromBytes image{};
    link.protocol.ReadEEPROMData(image);
    EXPECT_FALSE(link.protocol.CommOK);
    EXPECT_FALSE(link.state.UserAbort) << "reset for the next transfer";
    EXPECT_EQ(link.port.sent, link.reads(100 - 16 + 1));
    EXPECT_FALSE(link.progress.visible);
    EXPECT_FALSE(link.port.isOpen());
}

// A noise byte before the reply would otherwise be stored as data, and no verification
// could see it: it compares with the same buffer.
TEST(ModuleProtocol, AReadWhoseReplyIsNotCleanIsAnErrorAndRetryReadsTheAddressAgain) {
    const struct {
        PromptAnswer answer;
        bool read;
    } cases[] = {
        {PromptAnswer::Retry, true}, {PromptAnswer::Ignore, false}, {PromptAnswer::Abort, false}};
    for (const auto& c : cases) {
        Link link({.strayByteAt = 100});
        link.prompts.answer(c.answer);
        EepromBytes image{};
        link.protocol.ReadEEPROMData(image);
        EXPECT_EQ(
            link.prompts.messages(),
            std::vector<std::string>{
                "EEPROM read - unexpected reply at address 100. Check cable and click Retry."});
        EXPECT_EQ(link.protocol.CommOK, c.read);
        if (c.read) {
            EXPECT_EQ(image, demoTune());
        }
        if (!c.read) {
            EXPECT_EQ(link.port.sent, link.reads(100 - 16 + 1));
        }
        EXPECT_FALSE(link.port.isOpen());
    }
    // The same when the stray byte comes after the reply.
    Link late;
    late.port.respond = [&, module = late.port.respond](std::uint8_t byte) {
        Bytes reply = module(byte);
        if (byte == 0x15) reply.push_back(0x15);
        return reply;
    };
    late.prompts.answer(PromptAnswer::Abort);
    EepromBytes image{};
    late.protocol.ReadEEPROMData(image);
    EXPECT_FALSE(late.protocol.CommOK);
    EXPECT_EQ(late.prompts.messages().size(), 1u);
}

TEST(ModuleProtocol, ADeviceThatGoesAwayIsSaidOnceAndEndsTheRead) {
    Link link;
    link.port.onWait = [&] {
        if (link.port.sent.size() == link.reads(100 - 16 + 1).size()) link.port.lose();
    };
    link.prompts.answer(PromptAnswer::Abort);
    EepromBytes image{};
    link.protocol.ReadEEPROMData(image);
    EXPECT_EQ(link.prompts.messages(),
              std::vector<std::string>{
                  "RS-232 device /dev/ttyUSB0 was disconnected. Check cable and click Abort."});
    EXPECT_FALSE(link.protocol.CommOK);
    EXPECT_FALSE(link.progress.visible);
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
// catches it like any error and the procedure ends through its clean-up.
TEST(ModuleProtocol, APortClosedUnderTheTransferIsReportedThroughTheTrap) {
    for (const PromptAnswer answer : {PromptAnswer::Abort, PromptAnswer::Ignore}) {
        Link link;
        link.state.EEPROMBuffer = demoTune();
        link.progress.onValue = [&](int percent) {
            if (percent == 30) link.port.close();
        };
        link.prompts.answer(answer);
        link.protocol.WriteEEPROMData();
        EXPECT_EQ(link.prompts.messages(),
                  std::vector<std::string>{"The port /dev/ttyUSB0 is closed."});
        EXPECT_FALSE(link.protocol.CommOK);
        EXPECT_FALSE(link.progress.visible);
    }
}

TEST(ModuleProtocol, APortThatCannotBeOpenedIsReportedOnceWhateverTheAnswer) {
    for (const PromptAnswer answer : {PromptAnswer::Abort, PromptAnswer::Ignore}) {
        Link link;
        link.port.failToOpen = true;
        link.prompts.answer(answer);
        link.protocol.ReSync();
        EXPECT_EQ(link.prompts.messages(),
                  std::vector<std::string>{"Cannot open /dev/ttyUSB0: Permission denied"});
        EXPECT_TRUE(link.protocol.portFailed());
        EXPECT_FALSE(link.protocol.CommOK);
        EXPECT_TRUE(link.port.sent.empty());
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
