// A module that answers with any bytes: the reply to each byte sent, and the answer to each
// error prompt (Abort, Retry or Ignore), come from the fuzzer. A download never changes the
// data buffer; an upload never claims success unless every byte was acknowledged and read
// back as written.
#include <cstdlib>
#include <deque>

#include "core/program_error.h"
#include "fuzz/fuzz_input.h"
#include "link/module_simulator.h"
#include "link/transfer_sequence.h"

namespace {

class FuzzedPort : public qz::SerialPort {
  public:
    explicit FuzzedPort(qz::fuzz::ByteStream& bytes) : bytes_(bytes) {}
    void setPortNumber(int number) override { number_ = number; }
    int portNumber() const override { return number_; }
    void open() override {
        if (bytes_.next() == 0xEE) throw qz::ProgramError(8002, "Comm Error", "Cannot open");
        open_ = true;
    }
    void close() override {
        open_ = false;
        incoming_.clear();
    }
    bool isOpen() const override { return open_; }
    void applyLineSettings() override {}
    int bytesWaiting() override { return static_cast<int>(incoming_.size()); }
    void discardInput() override { incoming_.clear(); }
    void writeByte(std::uint8_t) override {
        if (!open_) throw qz::ProgramError(8018, "Comm Error", "The port is closed.");
        const int count = bytes_.next() % 4;  // 0 to 3 reply bytes
        for (int i = 0; i < count; ++i) incoming_.push_back(bytes_.next());
        if (++written_ > 4000) throw qz::ProgramError(8018, "Comm Error", "Too many bytes.");
    }
    std::uint8_t readByte() override {
        if (incoming_.empty()) throw qz::ProgramError(8018, "Comm Error", "Nothing to read.");
        const std::uint8_t byte = incoming_.front();
        incoming_.pop_front();
        return byte;
    }
    void waitForBytes(int, const QDeadlineTimer&, bool) override {}

  private:
    qz::fuzz::ByteStream& bytes_;
    std::deque<std::uint8_t> incoming_;
    int number_ = 1;
    bool open_ = false;
    int written_ = 0;
};

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

struct NoProgress : qz::ProgressView {
    void showProgress(const std::string&) override {}
    void setProgress(int) override {}
    void showStatus(const std::string&) override {}
    void hideProgress() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qz::fuzz::ByteStream bytes(data, size);
    FuzzedPort port(bytes);
    FuzzedPrompts prompts(bytes);
    NoProgress progress;
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
