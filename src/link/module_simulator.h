#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/module_data.h"

namespace qz {

// Faults the simulated module can be told to show.
struct SimulatorFaults {
    bool silent = false;  // answers nothing at all
    bool noEcho = false;  // leaves the echo out of every reply
    enum class IdStart { Echo, CarriageReturn, Letter, NonPrintable };
    IdStart idStart = IdStart::Echo;  // how the identification reply begins
    int idCharacterDelayMs = 0;       // each identification character after this delay
    bool nakResync = false;           // status other than 0x06 to a resync
    bool nakAddress = false;          // ... to an address selection
    int nakProgrammingAt = -1;        // ... when programming this address
    int readBackDiffersAt = -1;       // reads this address back changed
    int dropEvery = 0;                // drops every n-th reply byte
    int strayByteAt = -1;             // a noise byte before the reply to reading this address
    int vanishAt = -1;                // goes away (its line hangs up) when this address is read
};

// One reply byte and how long the module takes before sending it.
struct SimulatorReply {
    std::uint8_t byte;
    int delayMs = 0;
};

// The QZ-1 module as the program sees it over the wire: single-byte commands, each byte
// echoed, status 0x06 after resync, address selection and each programmed byte.
class ModuleSimulator {
  public:
    ModuleSimulator(const EepromBytes& eeprom, std::string identification,
                    SimulatorFaults faults = {});

    // A byte from the program; returns what the module sends back.
    std::vector<SimulatorReply> receive(std::uint8_t byte);

    const EepromBytes& eeprom() const { return eeprom_; }
    // Whether the module has gone away; its host then hangs up the line.
    bool vanished() const { return vanished_; }

  private:
    enum class State { Command, AddressLow, AddressHigh, WriteData };

    void reply(std::vector<SimulatorReply>& out, std::uint8_t byte, int delayMs = 0);
    void echo(std::vector<SimulatorReply>& out, std::uint8_t byte);
    void identification(std::vector<SimulatorReply>& out);

    EepromBytes eeprom_;
    std::string identification_;
    SimulatorFaults faults_;
    State state_ = State::Command;
    int address_ = 0;
    int pendingLow_ = 0;
    long repliesSent_ = 0;
    bool vanished_ = false;
};

// A tune for a module without a data file: 3D table over a 1-bar sensor, realistic values.
EepromBytes demoTune();

inline constexpr auto kDefaultSimulatorId = "QZ-1 V2.1 SIM";

}  // namespace qz
