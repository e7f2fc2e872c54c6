#pragma once

#include <QElapsedTimer>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/error_trap.h"
#include "core/program_state.h"
#include "core/prompts.h"
#include "link/delay_timer.h"
#include "link/serial_port.h"

namespace qz {

// The progress frame the transfers show: a caption and a bar from 0 to 100, or a line of
// status with a bar that only says "busy".
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    virtual void showProgress(const std::string& caption) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void showStatus(const std::string& line) = 0;
    virtual void hideProgress() = 0;
};

// The bar for an EEPROM address: address x 100 / 263, rounded half to even, within 0..100.
int progressFor(int address);

// Classifies an identification text: "QZ-1 Marine", "QZ-1" or "Unknown".
std::string classifyModule(const std::string& firmwareId);

inline constexpr auto kTimeoutMessage = "RS-232 timeout. Check cable and click Abort.";
inline constexpr auto kUnexpectedTerminatorMessage = "Firmware ID - unexpected terminator.";
inline constexpr auto kNoEchoMessage = "Firmware ID - no command echo.";
// A read whose reply did not start with the command's echo, or brought a byte too many.
std::string unexpectedReplyMessage(int address);
// The device went away while a transfer used it.
std::string disconnectedMessage(const std::string& device);

// One address the verification read back otherwise than it was written.
struct Mismatch {
    int address;
    std::uint8_t expected;
    std::uint8_t read;
    bool operator==(const Mismatch&) const = default;
};

// The module's byte protocol: every command one byte, every byte echoed, resync, address
// selection and each programmed byte acknowledged with 0x06. Each procedure traps its own
// errors (VerifyEEPROM's reach WriteEEPROMData's trap) and tells its result in CommOK.
class ModuleProtocol {
  public:
    ModuleProtocol(SerialPort& port, Prompts& prompts, ProgramState& state, ProgressView& progress);

    bool CommOK = false;
    // What the last verification found: each address read back otherwise than written.
    std::vector<Mismatch> mismatches;
    // Whether the last exchange could not even open the port.
    bool portFailed() const { return portFailed_; }

    void ReSync();
    void ReadFirmwareID();
    void SetEEPROMAddress(int address);
    // Reads the byte at the module's current address, which is `address`: a reply that is
    // not clean selects the address again on Retry.
    std::uint8_t ReadEEPROM(int address);
    // Reads addresses 16 to 279 into `image` (a fresh image: the data buffer is replaced by
    // the caller only after a complete read).
    void ReadEEPROMData(EepromBytes& image);
    // Programs addresses 16 to 279 from the data buffer, then verifies them.
    void WriteEEPROMData();
    void VerifyEEPROM();

    SerialPort& port() { return port_; }
    Prompts& prompts() { return prompts_; }
    ProgramState& state() { return state_; }
    ProgressView& progress() { return progress_; }

    // The settling delays; tests replace it to run without waiting.
    std::function<void(int)> delay;

  private:
    bool openLink(ErrorTrap& trap);
    bool send(ErrorTrap& trap, std::uint8_t byte);
    bool awaitReply(ErrorTrap& trap, int count, bool pumpEvents);
    std::uint8_t receive();
    void raise(ErrorTrap& trap, const std::string& message);
    void closePort();

    SerialPort& port_;
    Prompts& prompts_;
    ProgramState& state_;
    ProgressView& progress_;
    DelayTimer delayTimer_;
    QElapsedTimer sinceSent_;
    bool portFailed_ = false;
};

}  // namespace qz
