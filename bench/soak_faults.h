#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "core/prompts.h"
#include "link/module_simulator.h"

namespace qz::soak {

// Every way the simulated module can misbehave, one at a time, and None for a clean run.
enum class FaultKind {
    None,
    Silent,
    NoEcho,
    IdCarriageReturn,
    IdLetter,
    IdNonPrintable,
    SlowId,
    NakResync,
    NakAddress,
    NakProgramming,
    ReadBackDiffers,
    Drop,
    Stray,
    Vanish,
};
inline constexpr int kFaultKinds = 14;

const char* faultName(FaultKind kind);
// The fault as `qz1 sim --fault` takes it, with its address, rate or delay: "differ=120".
std::string faultText(FaultKind kind, const SimulatorFaults& faults);

// The module's faults for `kind`, at a random address (16..279), a random drop rate or a
// random identification character delay.
SimulatorFaults drawFaults(FaultKind kind, std::mt19937_64& random);

// What a transfer meeting the faults must come to. Most faults decide it whatever the answers;
// a noise byte fails the read it precedes unless the first error is answered Retry, which
// reads the address again; a dropped byte may land anywhere, or nowhere, and is left open.
enum class Expected { Succeeds, Fails, Either };
Expected expectedOutcome(FaultKind kind, const SimulatorFaults& faults, bool upload,
                         int identificationLength, std::optional<PromptAnswer> firstError);

// How long the program waits for a reply before it is a timeout.
inline constexpr int kReplyWaitMs = 1000;

}  // namespace qz::soak
