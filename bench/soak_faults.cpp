#include "soak_faults.h"

#include <algorithm>

#include "core/module_data.h"

namespace qz::soak {
namespace {

int randomAddress(std::mt19937_64& random) {
    return kImageFirstAddress + static_cast<int>(random() % kImageSize);
}

}  // namespace

const char* faultName(FaultKind kind) {
    static const char* const names[kFaultKinds] = {
        "none",  "silent",     "no-echo",     "id-cr",       "id-letter", "id-nonprintable",
        "slow",  "nak-resync", "nak-address", "nak-program", "differ",    "drop",
        "stray", "vanish",
    };
    return names[static_cast<int>(kind)];
}

std::string faultText(FaultKind kind, const SimulatorFaults& faults) {
    const int number =
        std::max({faults.idCharacterDelayMs, faults.nakProgrammingAt, faults.readBackDiffersAt,
                  faults.dropEvery, faults.strayByteAt, faults.vanishAt});
    std::string text = faultName(kind);
    return number > 0 ? text + "=" + std::to_string(number) : text;
}

SimulatorFaults drawFaults(FaultKind kind, std::mt19937_64& random) {
    SimulatorFaults faults;
    switch (kind) {
        case FaultKind::None:
            break;
        case FaultKind::Silent:
            faults.silent = true;
            break;
        case FaultKind::NoEcho:
            faults.noEcho = true;
            break;
        case FaultKind::IdCarriageReturn:
            faults.idStart = SimulatorFaults::IdStart::CarriageReturn;
            break;
        case FaultKind::IdLetter:
            faults.idStart = SimulatorFaults::IdStart::Letter;
            break;
        case FaultKind::IdNonPrintable:
            faults.idStart = SimulatorFaults::IdStart::NonPrintable;
            break;
        case FaultKind::SlowId:
            // Around the point where the whole identification no longer fits in the wait.
            faults.idCharacterDelayMs = 20 + static_cast<int>(random() % 130);
            break;
        case FaultKind::NakResync:
            faults.nakResync = true;
            break;
        case FaultKind::NakAddress:
            faults.nakAddress = true;
            break;
        case FaultKind::NakProgramming:
            faults.nakProgrammingAt = randomAddress(random);
            break;
        case FaultKind::ReadBackDiffers:
            faults.readBackDiffersAt = randomAddress(random);
            break;
        case FaultKind::Drop:
            // From every byte to less than once in a whole upload.
            faults.dropEvery = 1 + static_cast<int>(random() % 2000);
            break;
        case FaultKind::Stray:
            faults.strayByteAt = randomAddress(random);
            break;
        case FaultKind::Vanish:
            faults.vanishAt = randomAddress(random);
            break;
    }
    return faults;
}

Expected expectedOutcome(FaultKind kind, const SimulatorFaults& faults, bool upload,
                         int identificationLength, std::optional<PromptAnswer> firstError) {
    switch (kind) {
        case FaultKind::None:
        case FaultKind::IdNonPrintable:  // a byte other than the echo is passed over
            return Expected::Succeeds;
        case FaultKind::SlowId:  // the identification and its terminator, one delay each
            return (identificationLength + 1) * faults.idCharacterDelayMs < kReplyWaitMs
                       ? Expected::Succeeds
                       : Expected::Fails;
        case FaultKind::NakProgramming:
            return upload ? Expected::Fails : Expected::Succeeds;
        case FaultKind::ReadBackDiffers:
            // A download cannot tell a byte read back changed from a byte held changed: it
            // is judged against what the module answers.
            return upload ? Expected::Fails : Expected::Succeeds;
        case FaultKind::Stray:
            return firstError == PromptAnswer::Retry ? Expected::Succeeds : Expected::Fails;
        case FaultKind::Drop:
            return Expected::Either;
        default:
            return Expected::Fails;
    }
}

}  // namespace qz::soak
