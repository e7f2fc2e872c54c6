#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/error_trap.h"
#include "core/program_state.h"
#include "core/prompts.h"
#include "link/serial_port.h"

namespace qz {

// The progress frame the transfers show: a caption and a bar from 0 to 100.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    virtual void showProgress(const std::string& caption) = 0;
    virtual void setProgress(int percent) = 0;
    virtual void hideProgress() = 0;
};

// The bar for an EEPROM address: address x 100 / 263, rounded half to even, within 0..100.
int progressFor(int address);

// Classifies an identification text: "QZ-1 Marine", "QZ-1" or "Unknown".
std::string classifyModule(const std::string& firmwareId);

inline constexpr auto kTimeoutMessage = "RS-232 timeout. Check cable and click Abort.";
inline constexpr auto kUnexpectedTerminatorMessage = "Firmware ID - unexpected terminator.";
inline constexpr auto kNoEchoMessage = "Firmware ID - no command echo.";

// The module's byte protocol: every command one byte, every byte echoed, resync, address
// selection and each programmed byte acknowledged with 0x06. Each procedure traps its own
// errors (VerifyEEPROM's reach WriteEEPROMData's trap) and tells its result in CommOK.
class ModuleProtocol {
  public:
    ModuleProtocol(SerialPort& port, Prompts& prompts, ProgramState& state, ProgressView& progress);

    bool CommOK = false;
    // What the last verification found: each address read back otherwise than written.
    struct Mismatch {
        int address;
        std::uint8_t expected;
        std::uint8_t read;
    };
    std::vector<Mismatch> mismatches;
    // Whether the last exchange could not even open the port.
    bool portFailed() const { return portFailed_; }

    void ReSync();
    void ReadFirmwareID();
    void SetEEPROMAddress(int address);
    std::uint8_t ReadEEPROM();
    // Reads addresses 16 to 279 into `image` (a fresh image: the data buffer is replaced by
    // the caller only after a complete read).
    void ReadEEPROMData(EepromBytes& image);
    // Programs addresses 16 to 279 from the data buffer, then verifies them.
    void WriteEEPROMData();
    void VerifyEEPROM();

    // The settling delays; tests replace it to run without waiting.
    std::function<void(int)> delay;

  private:
    bool openLink(ErrorTrap& trap);
    void send(std::uint8_t byte);
    void raise(ErrorTrap& trap, const char* message);
    void closePort();
    QDeadlineTimer replyDeadline() const;

    SerialPort& port_;
    Prompts& prompts_;
    ProgramState& state_;
    ProgressView& progress_;
    bool portFailed_ = false;
};

}  // namespace qz
