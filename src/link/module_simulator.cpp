#include "link/module_simulator.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "core/auto_prompts.h"
#include "image/cell_encoding.h"
#include "image/parameter_codec.h"
#include "image/table_layout.h"
#include "link/protocol_bytes.h"

namespace qz {
namespace {

using namespace wire;

constexpr std::uint8_t kNak = 0x15;

}  // namespace

ModuleSimulator::ModuleSimulator(const EepromBytes& eeprom, std::string identification,
                                 SimulatorFaults faults)
    : eeprom_(eeprom), identification_(std::move(identification)), faults_(faults) {}

void ModuleSimulator::reply(std::vector<SimulatorReply>& out, std::uint8_t byte, int delayMs) {
    ++repliesSent_;
    if (faults_.dropEvery > 0 && repliesSent_ % faults_.dropEvery == 0) return;
    out.push_back({byte, delayMs});
}

void ModuleSimulator::echo(std::vector<SimulatorReply>& out, std::uint8_t byte) {
    if (!faults_.noEcho) reply(out, byte);
}

void ModuleSimulator::identification(std::vector<SimulatorReply>& out) {
    switch (faults_.idStart) {
        case SimulatorFaults::IdStart::CarriageReturn:
            reply(out, kTerminator);
            return;
        case SimulatorFaults::IdStart::Letter:
            break;  // the text comes without the echo
        case SimulatorFaults::IdStart::NonPrintable:
            reply(out, 0x00);
            break;
        case SimulatorFaults::IdStart::Echo:
            echo(out, kReadId);
            break;
    }
    for (char c : identification_)
        reply(out, static_cast<std::uint8_t>(c), faults_.idCharacterDelayMs);
    reply(out, kTerminator, faults_.idCharacterDelayMs);
}

std::vector<SimulatorReply> ModuleSimulator::receive(std::uint8_t byte) {
    std::vector<SimulatorReply> out;
    if (faults_.silent) return out;
    switch (state_) {
        case State::AddressLow:
            pendingLow_ = byte;
            echo(out, byte);
            state_ = State::AddressHigh;
            return out;
        case State::AddressHigh:
            echo(out, byte);
            state_ = State::Command;
            if (faults_.nakAddress) {
                reply(out, kNak);
            } else {
                address_ = pendingLow_ + 256 * byte;
                reply(out, kAck);
            }
            return out;
        case State::WriteData:
            echo(out, byte);
            state_ = State::Command;
            if (address_ == faults_.nakProgrammingAt) {
                reply(out, kNak);
                return out;
            }
            if (address_ < kEepromSize) eeprom_[static_cast<std::size_t>(address_)] = byte;
            ++address_;
            reply(out, kAck);
            return out;
        case State::Command:
            break;
    }
    switch (byte) {
        case kResync:
            echo(out, byte);
            reply(out, faults_.nakResync ? kNak : kAck);
            break;
        case kReadId:
            identification(out);
            break;
        case kSetAddress:
            echo(out, byte);
            state_ = State::AddressLow;
            break;
        case kReadByte: {
            if (address_ == faults_.vanishAt) {
                vanished_ = true;
                return out;
            }
            if (address_ == faults_.strayByteAt) {
                faults_.strayByteAt = -1;  // once: a read again is clean
                out.push_back({0xFF, 0});
            }
            echo(out, byte);
            std::uint8_t data =
                address_ < kEepromSize ? eeprom_[static_cast<std::size_t>(address_)] : 0xFF;
            if (address_ == faults_.readBackDiffersAt)
                data = static_cast<std::uint8_t>(data ^ 0x5A);
            reply(out, data);
            ++address_;
            break;
        }
        case kWriteByte:
            echo(out, byte);
            state_ = State::WriteData;
            break;
        default:
            break;  // the module ignores what it does not know
    }
    return out;
}

EepromBytes demoTune() {
    ModuleData tune;
    tune.TrigTiming = 30;
    tune.CrankPulses = 4;
    tune.RPMLimitEnabled = tune.MultiSparkEnabled = tune.TimingEnabled = true;
    tune.FixedMaxRPMLimitEnabled = true;
    tune.MaxRPMLimit = 6500;
    tune.Table3DEnabled = true;
    tune.RetardComp = 17;
    tune.StartRetard = 57;
    // Advance rising with speed and falling with load, within the trigger timing's window.
    for (int c = 1; c <= kRpmBreakpoints; ++c) {
        const double rpm = rpmBreakpoint(c);
        tune.Table2D(c, 1) = std::min(30.0, 10 + 20 * std::min(rpm, 4000.0) / 4000);
        for (int r = 1; r <= kPressureRows; ++r) {
            const double load = (kPressureRows - r) / 7.0;  // r = 8: lowest pressure
            const double advance = 12 + 16 * std::min(rpm, 4500.0) / 4500 + 4 * load;
            tune.Table3D(c, r) = std::min(30.0, advance);
        }
    }
    tune.EEPROMBuffer.fill(0);
    encodeTable2D(tune);
    encodeTable3D(tune);
    AutoPrompts noUser(PromptAnswer::Abort);
    UpdateEEPROM(tune, noUser);
    return tune.EEPROMBuffer;
}

}  // namespace qz
