// A module that answers with any bytes: the reply to each byte sent, and the answer to each
// error prompt (Abort, Retry or Ignore), come from the fuzzer. A download never changes the
// data buffer; an upload never claims success unless every byte was acknowledged and read
// back as written.
#include <cstdlib>

#include "core/program_error.h"
#include "fuzz/fuzz_input.h"
#include "link/module_simulator.h"
#include "link/transfer_sequence.h"
#include "support/scripted_port.h"

namespace {

// Error prompts answered by the fuzzer; a Retry streak is cut short so a run always ends.
class FuzzedPrompts : public qz::Prompts {
  public:
    explicit FuzzedPrompts(qz::fuzz::ByteStream& bytes) : bytes_(bytes) {}
    qz::PromptAnswer message(const std::string&, qz::PromptIcon, qz::PromptButtons buttons,
                             const std::string&, const std::string&) override {
        if (buttons != qz::PromptButtons::AbortRetryIgnore) return qz::PromptAnswer::OK;
        const int pick = bytes_.next() % 3;
        if (pick == 1 && ++retries_ < 8) return qz::PromptAnswer::Retry;
        return pick == 2 ? qz::PromptAnswer::Ignore : qz::PromptAnswer::Abort;
    }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    std::string openFileName(const std::string&, const std::string&) override { return {}; }
    std::string saveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }

  private:
    qz::fuzz::ByteStream& bytes_;
    int retries_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qz::fuzz::ByteStream bytes(data, size);
    // The scripted port with the fuzzer's bytes as every reply: 0 to 3 bytes for each byte
    // sent, and a port that will not open when the first byte says so.
    qz::test::ScriptedPort port(qz::ModuleSimulator(qz::demoTune(), "QZ-1"));
    port.failToOpen = bytes.next() == 0xEE;
    int sent = 0;
    port.respond = [&](std::uint8_t) {
        if (++sent > 4000) throw qz::ProgramError(8018, "Comm Error", "Too many bytes.");
        std::vector<std::uint8_t> reply(bytes.next() % 4);
        for (auto& byte : reply) byte = bytes.next();
        return reply;
    };
    FuzzedPrompts prompts(bytes);
    qz::test::RecordedProgress progress;
    qz::ProgramState state;
    state.EEPROMBuffer = qz::demoTune();
    state.BufferEmpty = false;
    const qz::EepromBytes buffer = state.EEPROMBuffer;
    qz::ModuleProtocol protocol(port, prompts, state, progress);
    protocol.delay = [](int) {};
    qz::EepromBytes image{};
    qz::downloadModule(protocol, image);
    if (state.EEPROMBuffer != buffer) std::abort();  // the buffer is the caller's to replace
    const qz::TransferOutcome upload = qz::uploadImage(protocol);
    if (upload.succeeded && state.VerifyErrorCount != 0) std::abort();
    return 0;
}
