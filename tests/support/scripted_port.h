#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "core/program_error.h"
#include "link/module_protocol.h"
#include "link/module_simulator.h"
#include "link/serial_port.h"

namespace qz::test {

// An in-memory port: records every byte written and answers from a responder, by default
// a simulated module. Waits return at once with whatever the responder sent.
class ScriptedPort : public SerialPort {
  public:
    explicit ScriptedPort(ModuleSimulator simulator) : simulator_(std::move(simulator)) {
        respond = [this](std::uint8_t byte) {
            std::vector<std::uint8_t> bytes;
            for (const auto& reply : simulator_.receive(byte)) bytes.push_back(reply.byte);
            return bytes;
        };
    }

    std::function<std::vector<std::uint8_t>(std::uint8_t)> respond;
    std::vector<std::uint8_t> sent;
    int opens = 0;
    bool failToOpen = false;

    const ModuleSimulator& simulator() const { return simulator_; }

    void setPortNumber(int number) override { number_ = number; }
    int portNumber() const override { return number_; }
    void open() override {
        if (failToOpen)
            throw ProgramError(8002, "Comm Error", "Cannot open /dev/ttyUSB0: Permission denied");
        open_ = true;
        ++opens;
    }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    void applyLineSettings() override {}
    int bytesWaiting() override { return static_cast<int>(incoming_.size()); }
    void discardInput() override { incoming_.clear(); }
    void writeByte(std::uint8_t byte) override {
        if (!open_)
            throw ProgramError(8018, "Comm Error", "Operation valid only when the port is open");
        sent.push_back(byte);
        for (std::uint8_t reply : respond(byte)) incoming_.push_back(reply);
    }
    std::uint8_t readByte() override {
        const std::uint8_t byte = incoming_.front();
        incoming_.pop_front();
        return byte;
    }
    void waitForBytes(int, const QDeadlineTimer&, bool) override {}

  private:
    ModuleSimulator simulator_;
    std::deque<std::uint8_t> incoming_;
    int number_ = 1;
    bool open_ = false;
};

// Records what the transfers show of their progress.
struct RecordedProgress : ProgressView {
    std::vector<std::string> captions;
    std::vector<int> values;
    bool visible = false;
    std::function<void(int)> onValue;
    void showProgress(const std::string& caption) override {
        captions.push_back(caption);
        values.push_back(0);
        visible = true;
    }
    void setProgress(int percent) override {
        values.push_back(percent);
        if (onValue) onValue(percent);
    }
    void hideProgress() override { visible = false; }
};

}  // namespace qz::test
