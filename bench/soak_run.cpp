#include "soak_run.h"

#include <algorithm>
#include <string>

#include "core/auto_prompts.h"
#include "core/program_state.h"
#include "image/parameter_codec.h"
#include "link/transfer_sequence.h"
#include "soak_line.h"
#include "soak_looping.h"
#include "soak_prompts.h"

namespace qz::soak {
namespace {

constexpr int kMaxRetries = 3;

EepromBytes randomImage(std::mt19937_64& random) {
    EepromBytes image{};
    for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address)
        image[static_cast<std::size_t>(address)] = static_cast<std::uint8_t>(random());
    return image;
}

bool sameImage(const EepromBytes& a, const EepromBytes& b) {
    return std::equal(a.begin() + kImageFirstAddress, a.end(), b.begin() + kImageFirstAddress);
}

// The first address where two images differ, for the report.
std::string firstDifference(const EepromBytes& a, const EepromBytes& b) {
    for (int address = kImageFirstAddress; address <= kImageLastAddress; ++address) {
        const auto i = static_cast<std::size_t>(address);
        if (a[i] != b[i])
            return "address " + std::to_string(address) + ": " + std::to_string(a[i]) +
                   " instead of " + std::to_string(b[i]);
    }
    return "no difference";
}

// A data buffer as the program holds one after opening a file: decoded into the parameter
// variables, which the upload encodes into it again. A random image is taken once it comes
// back unchanged from that, as every real tune does.
void loadBuffer(ProgramState& state, std::mt19937_64& random) {
    AutoPrompts ignore(PromptAnswer::Ignore);
    for (;;) {
        state.EEPROMBuffer = randomImage(random);
        state.BufferEmpty = false;
        UpdateParams(state, ignore);
        UpdateEEPROM(state, ignore);
        const EepromBytes settled = state.EEPROMBuffer;
        UpdateParams(state, ignore);
        UpdateEEPROM(state, ignore);
        if (state.EEPROMBuffer == settled) return;
    }
}

// What a download should read: the module's bytes, and a byte the module reads back changed
// as it answers it.
EepromBytes answeredImage(const ModuleSimulator& module, const SimulatorFaults& faults) {
    EepromBytes image = module.eeprom();
    std::fill(image.begin(), image.begin() + kImageFirstAddress, 0);
    if (faults.readBackDiffersAt >= 0)
        image[static_cast<std::size_t>(faults.readBackDiffersAt)] ^= 0x5A;
    return image;
}

std::string falseResult(const TransferOutcome& outcome, Expected expected, bool bytesRight,
                        const std::string& difference) {
    if (outcome.succeeded && !bytesRight) return "success with wrong bytes, " + difference;
    if (outcome.succeeded && expected == Expected::Fails) return "success the fault rules out";
    if (!outcome.succeeded && expected == Expected::Succeeds)
        return "failure with nothing to cause it: " + outcome.message;
    if (!outcome.succeeded && outcome.message.empty()) return "failure without a message";
    return {};
}

}  // namespace

SoakResult runTransfer(std::uint64_t seed) {
    std::seed_seq seeds{static_cast<std::uint32_t>(seed), static_cast<std::uint32_t>(seed >> 32)};
    std::mt19937_64 random(seeds);
    SoakResult result;
    result.upload = random() % 2 == 1;
    result.kind = static_cast<FaultKind>(random() % kFaultKinds);
    const SimulatorFaults faults = drawFaults(result.kind, random);
    result.faultText = faultText(result.kind, faults);

    ProgramState state;
    if (result.upload || random() % 2 == 0) loadBuffer(state, random);
    const EepromBytes bufferBefore = state.EEPROMBuffer;
    const bool emptyBefore = state.BufferEmpty;

    SoakLine line(ModuleSimulator(randomImage(random), kDefaultSimulatorId, faults));
    RandomPrompts prompts(random, kMaxRetries);
    test::RecordedProgress progress;
    ModuleProtocol protocol(line.port(), prompts, state, progress);
    protocol.delay = [&](int ms) { result.skippedDelayMs += ms; };

    EepromBytes image{};
    TransferOutcome outcome;
    bool looping = false;
    try {
        outcome = result.upload ? uploadImage(protocol) : downloadModule(protocol, image);
    } catch (const Looping&) {
        looping = true;
    }
    // The program takes a downloaded image only from a successful outcome.
    if (!result.upload && outcome.succeeded) {
        state.EEPROMBuffer = image;
        state.BufferEmpty = false;
    }

    const EepromBytes expected =
        result.upload ? bufferBefore : answeredImage(line.module(), faults);
    const EepromBytes& got = result.upload ? line.module().eeprom() : image;
    const int idLength = static_cast<int>(std::string(kDefaultSimulatorId).size());
    const bool bufferKept = state.EEPROMBuffer == bufferBefore && state.BufferEmpty == emptyBefore;

    const Expected expectation =
        expectedOutcome(result.kind, faults, result.upload, idLength, prompts.firstError());
    result.why =
        falseResult(outcome, expectation, sameImage(got, expected), firstDifference(got, expected));
    if (looping) result.why = "the transfer kept sending or asking: a hang";
    if (!result.why.empty())
        result.verdict = Verdict::FalseResult;
    else if (!bufferKept && (result.upload || !outcome.succeeded))
        result.verdict = Verdict::LostImage;
    else
        result.verdict = outcome.succeeded ? Verdict::Succeeded : Verdict::Failed;
    if (result.verdict == Verdict::LostImage) result.why = "the data buffer changed";

    result.aborts = prompts.errorAnswers(PromptAnswer::Abort);
    result.retries = prompts.errorAnswers(PromptAnswer::Retry);
    result.ignores = prompts.errorAnswers(PromptAnswer::Ignore);
    result.otherBoxes = prompts.otherBoxes();
    result.retriesSpent = prompts.retriesSpent();
    return result;
}

}  // namespace qz::soak
