#include "link/module_protocol.h"

#include <QCoreApplication>
#include <QString>
#include <algorithm>

#include "core/program_error.h"
#include "core/rounding.h"
#include "link/link_log.h"
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
QDeadlineTimer replyDeadline() {
    return QDeadlineTimer(kReplyDeadlineMs, Qt::PreciseTimer);
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

std::string unexpectedReplyMessage(int address) {
    return "EEPROM read - unexpected reply at address " + std::to_string(address) +
           ". Check cable and click Retry.";
}

std::string disconnectedMessage(const std::string& device) {
    return "RS-232 device " + device + " was disconnected. Check cable and click Abort.";
}

ModuleProtocol::ModuleProtocol(SerialPort& port, Prompts& prompts, ProgramState& state,
                               ProgressView& progress)
    : delay([this](int milliseconds) { delayTimer_(milliseconds); }),
      port_(port),
      prompts_(prompts),
      state_(state),
      progress_(progress) {}

void ModuleProtocol::closePort() {
    if (port_.isOpen()) port_.close();
}

// Opens the port when it is closed and empties its receive buffer. A port that cannot be
// opened is reported once: whatever the answer, nothing can go on without the port.
bool ModuleProtocol::openLink(ErrorTrap& trap) {
    CommOK = false;
    portFailed_ = true;
    bool opened = false;
    trap.step([&] {
        if (!port_.isOpen()) port_.open();
        opened = true;
    });
    if (!opened) return false;
    portFailed_ = false;
    port_.discardInput();
    return true;
}

// One byte to the module. A port closed under the exchange (a line error, a pulled cable)
// is reported through the trap; after Ignore the exchange ends.
bool ModuleProtocol::send(ErrorTrap& trap, std::uint8_t byte) {
    bool sent = false;
    trap.step([&] {
        if (port_.deviceLost())
            throw appError("Comm Error", disconnectedMessage(port_.deviceName()));
        port_.writeByte(byte);
        sent = true;
    });
    if (sent) {
        qCDebug(lcLink, "-> %02X", byte);
        sinceSent_.start();
    }
    return sent;
}

std::uint8_t ModuleProtocol::receive() {
    const std::uint8_t byte = port_.readByte();
    qCDebug(lcLink, "<- %02X  %.1f ms", byte, sinceSent_.nsecsElapsed() / 1e6);
    return byte;
}

// Waits for `count` reply bytes; fewer is a timeout, or a lost device when it went away.
bool ModuleProtocol::awaitReply(ErrorTrap& trap, int count, bool pumpEvents) {
    port_.waitForBytes(count, replyDeadline(), pumpEvents);
    if (port_.bytesWaiting() >= count) return true;
    qCDebug(lcLink, "   %d of %d reply bytes after %.1f ms", port_.bytesWaiting(), count,
            sinceSent_.nsecsElapsed() / 1e6);
    raise(trap, port_.deviceLost() ? disconnectedMessage(port_.deviceName()) : kTimeoutMessage);
    return false;
}

// A protocol error: the port is closed, then the error is raised through the trap, where
// Retry shows it again and Ignore ends the procedure.
void ModuleProtocol::raise(ErrorTrap& trap, const std::string& message) {
    qCDebug(lcLink) << message.c_str();
    trap.step([&] {
        closePort();
        throw appError("Comm Error", message);
    });
}

void ModuleProtocol::ReSync() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        if (!openLink(trap) || !send(trap, kResync)) return;
        port_.waitForBytes(2, replyDeadline(), false);
        if (port_.bytesWaiting() < 2) return;  // no message: the caller tries again
        receive();
        const std::uint8_t status = receive();
        delay(kResyncSettleMs);
        if (status == kAck) CommOK = true;
    });
}

void ModuleProtocol::ReadFirmwareID() {
    ErrorTrap trap(prompts_, [this] { closePort(); });
    trap.run([&] {
        if (!openLink(trap) || !send(trap, kReadId)) return;
        const QDeadlineTimer deadline = replyDeadline();
        state_.FirmwareID.clear();
        int received = 0;
        bool terminated = false;
        while (!deadline.hasExpired() && !terminated) {
            port_.waitForBytes(1, deadline, true);
            if (port_.bytesWaiting() < 1) break;
            const std::uint8_t byte = receive();
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
        if (!terminated)
            return raise(trap, port_.deviceLost() ? disconnectedMessage(port_.deviceName())
                                                  : kTimeoutMessage);
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
            return send(trap, byte) && awaitReply(trap, replies, true);
        };
        if (!exchange(kSetAddress, 1)) return;
        port_.discardInput();
        delay(kSettleMs);
        if (!exchange(static_cast<std::uint8_t>(address & 0xFF), 1)) return;
        port_.discardInput();
        delay(kSettleMs);
        if (!exchange(static_cast<std::uint8_t>((address & 0xFF00) / 256), 2)) return;
        receive();
        if (receive() == kAck) CommOK = true;
        port_.discardInput();
        delay(kSettleMs);
        closePort();
    });
}

// The echo of a read is checked: a noise byte on the line would otherwise be stored as data
// and no later verification could see it, since it compares with the same wrong buffer.
std::uint8_t ModuleProtocol::ReadEEPROM(int address) {
    std::uint8_t data = 0;
    ErrorTrap trap(prompts_, [this] {
        closePort();
        CommOK = false;
    });
    trap.run([&] {
        auto request = [&] {
            if (!openLink(trap) || !send(trap, kReadByte) || !awaitReply(trap, 2, false))
                return std::optional<std::uint8_t>();
            const std::uint8_t echo = receive();
            data = receive();
            return std::optional<std::uint8_t>(echo);
        };
        auto echo = request();
        if (!echo) return;
        bool clean = false;
        bool again = false;
        trap.step([&] {
            if (again) {  // Retry: start the read over from a freshly selected address
                port_.discardInput();
                SetEEPROMAddress(address);
                if (!CommOK || !(echo = request())) return;
            }
            again = true;
            delay(kSettleMs);
            if (*echo != kReadByte || port_.bytesWaiting() > 0) {
                qCDebug(lcLink, "read at address %d: echo %02X, %d more bytes", address, *echo,
                        port_.bytesWaiting());
                closePort();
                throw appError("Comm Error", unexpectedReplyMessage(address));
            }
            clean = true;
        });
        CommOK = clean;
    });
    return data;
}

void ModuleProtocol::ReadEEPROMData(EepromBytes& image) {
    ErrorTrap trap(prompts_, [this] {
        closePort();
        progress_.hideProgress();
    });
    trap.run([&] {
        // Only an Esc pressed while the read runs stops it.
        state_.UserAbort = false;
        progress_.showProgress("Reading EEPROM");
        image.fill(0);
        SetEEPROMAddress(kImageFirstAddress);
        if (!CommOK) return progress_.hideProgress();
        CommOK = false;
        for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
            image[static_cast<std::size_t>(address)] = ReadEEPROM(address);
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
            if (!send(trap, kWriteByte)) return progress_.hideProgress();
            delay(kSettleMs);
            if (!send(trap, state_.EEPROMBuffer[static_cast<std::size_t>(address)]) ||
                !awaitReply(trap, 3, true))
                return progress_.hideProgress();
            receive();
            receive();
            if (receive() != kAck) {
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
    // Programming cannot be interrupted: an Esc pressed meanwhile does not fail the check.
    state_.UserAbort = false;
    state_.VerifyErrorCount = 0;
    mismatches.clear();
    progress_.showProgress("Verifying EEPROM");
    SetEEPROMAddress(kImageFirstAddress);
    for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
        const std::uint8_t read = ReadEEPROM(address);
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
