#include "link/module_protocol.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>

#include "core/program_error.h"
#include "core/rounding.h"
#include "link/delay_timer.h"
#include "link/protocol_bytes.h"

namespace qz {
namespace {

using namespace wire;

constexpr int kReplyDeadlineMs = 1000;
constexpr int kSettleMs = 5;
constexpr int kResyncSettleMs = 2;

bool printable(std::uint8_t byte) {
    return byte >= 32 && byte <= 127;
}
void pumpEvents() {
    QCoreApplication::processEvents();
}

}  // namespace

int progressFor(int address) {
    return std::clamp(static_cast<int>(roundHalfEven(address * 100.0 / 263)), 0, 100);
}

std::string classifyModule(const std::string& firmwareId) {
    const QString id = QString::fromStdString(firmwareId);
    if (id.contains(QLatin1String("QZ-1 Marine"), Qt::CaseInsensitive)) return "QZ-1 Marine";
    if (id.contains(QLatin1String("QZ-1"), Qt::CaseInsensitive)) return "QZ-1";
    return "Unknown";
}

ModuleProtocol::ModuleProtocol(SerialPort& port, Prompts& prompts, ProgramState& state,
                               ProgressView& progress)
    : delay(DelayTimer), port_(port), prompts_(prompts), state_(state), progress_(progress) {}

QDeadlineTimer ModuleProtocol::replyDeadline() const {
    return QDeadlineTimer(kReplyDeadlineMs, Qt::PreciseTimer);
}

void ModuleProtocol::closePort() {
    if (port_.isOpen()) port_.close();
}

// Opens the port when it is closed and empties its receive buffer. A port that cannot be
// opened is reported once; Ignore then ends the exchange, since nothing can go on without
// the port.
bool ModuleProtocol::openLink(ErrorTrap& trap) {
    CommOK = false;
    portFailed_ = false;
    bool opened = false;
    trap.step([&] {
        if (!port_.isOpen()) port_.open();
        opened = true;
    });
    if (!opened) {
        portFailed_ = true;
        return false;
    }
    port_.discardInput();
    return true;
}

void ModuleProtocol::send(std::uint8_t byte) {
    port_.writeByte(byte);
}

// A protocol error: the port is closed, then the error is raised through the trap, where
// Retry shows it again and Ignore ends the procedure.
void ModuleProtocol::raise(ErrorTrap& trap, const char* message) {
    trap.step([&] {
        closePort();
        throw appError("Comm Error", message);
    });
}

void ModuleProtocol::ReSync() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        if (!openLink(trap)) return;
        send(kResync);
        port_.waitForBytes(2, replyDeadline(), false);
        if (port_.bytesWaiting() < 2) return;  // no message: the caller tries again
        port_.readByte();
        const std::uint8_t status = port_.readByte();
        delay(kResyncSettleMs);
        if (status == kAck) CommOK = true;
    });
}

void ModuleProtocol::ReadFirmwareID() {
    ErrorTrap trap(prompts_, [this] { closePort(); });
    trap.run([&] {
        if (!openLink(trap)) return;
        send(kReadId);
        const QDeadlineTimer deadline = replyDeadline();
        state_.FirmwareID.clear();
        int received = 0;
        bool terminated = false;
        while (!deadline.hasExpired() && !terminated) {
            port_.waitForBytes(1, deadline, true);
            if (port_.bytesWaiting() < 1) break;
            const std::uint8_t byte = port_.readByte();
            if (received == 0) {
                if (byte == kTerminator) return raise(trap, kUnexpectedTerminatorMessage);
                if (printable(byte)) return raise(trap, kNoEchoMessage);
                // The echo, or another byte that is passed over.
            } else if (byte == kTerminator) {
                terminated = true;
            } else if (printable(byte)) {
                state_.FirmwareID += static_cast<char>(byte);
            }
            pumpEvents();
            ++received;
        }
        if (!terminated) return raise(trap, kTimeoutMessage);
        delay(kSettleMs);
        CommOK = !state_.FirmwareID.empty();
        state_.ModuleType = classifyModule(state_.FirmwareID);
        closePort();
    });
}

void ModuleProtocol::SetEEPROMAddress(int address) {
    ErrorTrap trap(prompts_, [this] { closePort(); });
    trap.run([&] {
        if (!openLink(trap)) return;
        auto exchange = [&](std::uint8_t byte, int replies) {
            send(byte);
            port_.waitForBytes(replies, replyDeadline(), true);
            return port_.bytesWaiting() >= replies;
        };
        if (!exchange(kSetAddress, 1)) return raise(trap, kTimeoutMessage);
        port_.discardInput();
        delay(kSettleMs);
        if (!exchange(static_cast<std::uint8_t>(address & 0xFF), 1))
            return raise(trap, kTimeoutMessage);
        port_.discardInput();
        delay(kSettleMs);
        if (!exchange(static_cast<std::uint8_t>((address & 0xFF00) / 256), 2))
            return raise(trap, kTimeoutMessage);
        port_.readByte();
        if (port_.readByte() == kAck) CommOK = true;
        port_.discardInput();
        delay(kSettleMs);
        closePort();
    });
}

std::uint8_t ModuleProtocol::ReadEEPROM() {
    std::uint8_t data = 0;
    ErrorTrap trap(prompts_, [this] { closePort(); });
    trap.run([&] {
        if (!openLink(trap)) return;
        send(kReadByte);
        port_.waitForBytes(2, replyDeadline(), false);
        if (port_.bytesWaiting() < 2) return raise(trap, kTimeoutMessage);
        port_.readByte();
        data = port_.readByte();
        delay(kSettleMs);
        CommOK = true;
    });
    return data;
}

void ModuleProtocol::ReadEEPROMData(EepromBytes& image) {
    ErrorTrap trap(prompts_, [this] {
        closePort();
        progress_.hideProgress();
    });
    trap.run([&] {
        progress_.showProgress("Reading EEPROM");
        image.fill(0);
        SetEEPROMAddress(kImageFirstAddress);
        if (!CommOK) return progress_.hideProgress();
        CommOK = false;
        for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
            image[static_cast<std::size_t>(address)] = ReadEEPROM();
            progress_.setProgress(progressFor(address));
            pumpEvents();
            if (state_.UserAbort || !CommOK) {
                progress_.hideProgress();
                state_.UserAbort = false;
                closePort();
                CommOK = false;
                return;
            }
            trap.step([&] { delay(kSettleMs); });
        }
        progress_.hideProgress();
        CommOK = true;
        closePort();
    });
}

void ModuleProtocol::WriteEEPROMData() {
    ErrorTrap trap(prompts_, [this] {
        closePort();
        progress_.hideProgress();
    });
    trap.run([&] {
        progress_.showProgress("Programming EEPROM");
        SetEEPROMAddress(kImageFirstAddress);
        if (!CommOK) return progress_.hideProgress();
        CommOK = false;
        bool opened = false;
        trap.step([&] {
            if (!port_.isOpen()) port_.open();
            opened = true;
        });
        if (!opened) return progress_.hideProgress();
        for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
            port_.discardInput();
            send(kWriteByte);
            delay(kSettleMs);
            send(state_.EEPROMBuffer[static_cast<std::size_t>(address)]);
            port_.waitForBytes(3, replyDeadline(), true);
            if (port_.bytesWaiting() < 3) {
                raise(trap, kTimeoutMessage);
                return progress_.hideProgress();
            }
            port_.readByte();
            port_.readByte();
            if (port_.readByte() != kAck) {
                CommOK = false;
                progress_.hideProgress();
                closePort();
                return;  // the bytes below this address stay programmed
            }
            delay(kSettleMs);
            progress_.setProgress(progressFor(address));
        }
        progress_.hideProgress();
        VerifyEEPROM();
        CommOK = true;  // the verification's result is in VerifyErrorCount
        closePort();
    });
}

// Has no trap of its own: its errors reach the caller's.
void ModuleProtocol::VerifyEEPROM() {
    state_.VerifyErrorCount = 0;
    mismatches.clear();
    progress_.showProgress("Verifying EEPROM");
    SetEEPROMAddress(kImageFirstAddress);
    for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
        const std::uint8_t read = ReadEEPROM();
        const std::uint8_t expected = state_.EEPROMBuffer[static_cast<std::size_t>(address)];
        if (read != expected) {
            ++state_.VerifyErrorCount;
            // A read that failed says nothing about the module's byte.
            if (CommOK) mismatches.push_back({address, expected, read});
        }
        progress_.setProgress(progressFor(address));
        pumpEvents();
        if (state_.UserAbort || !CommOK) {
            ++state_.VerifyErrorCount;
            progress_.hideProgress();
            state_.UserAbort = false;
            closePort();
            return;
        }
    }
    progress_.hideProgress();
    closePort();
}

}  // namespace qz
