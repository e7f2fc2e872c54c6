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
    bool failToOpen = false;
    // Runs in every wait, as window events run in the real one.
    std::function<void()> onWait;

    // Bytes that arrive without being asked for: noise, or a late reply.
    void arrive(std::vector<std::uint8_t> bytes) {
        incoming_.insert(incoming_.end(), bytes.begin(), bytes.end());
    }

    // The device goes away, as a pulled USB adapter does.
    void lose() {
        lost_ = true;
        close();
    }
    bool deviceLost() const override { return lost_; }
    std::string deviceName() const override { return "/dev/ttyUSB0"; }

    const ModuleSimulator& simulator() const { return simulator_; }

    void setPortNumber(int number) override { number_ = number; }
    int portNumber() const override { return number_; }
    void open() override {
        if (failToOpen)
            throw ProgramError(8002, "Comm Error", "Cannot open /dev/ttyUSB0: Permission denied");
        open_ = true;
        lost_ = false;
    }
    void close() override {
        open_ = false;
        incoming_.clear();
    }
    bool isOpen() const override { return open_; }
    void applyLineSettings() override {}
    int bytesWaiting() override { return static_cast<int>(incoming_.size()); }
    void discardInput() override { incoming_.clear(); }
    void writeByte(std::uint8_t byte) override {
        if (!open_) throw ProgramError(8018, "Comm Error", "The port /dev/ttyUSB0 is closed.");
        sent.push_back(byte);
        for (std::uint8_t reply : respond(byte)) incoming_.push_back(reply);
    }
    std::uint8_t readByte() override {
        const std::uint8_t byte = incoming_.front();
        incoming_.pop_front();
        return byte;
    }
    void waitForBytes(int, const QDeadlineTimer&, bool) override {
        if (onWait) onWait();
    }

  private:
    ModuleSimulator simulator_;
    std::deque<std::uint8_t> incoming_;
    int number_ = 1;
    bool open_ = false;
    bool lost_ = false;
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
    void showStatus(const std::string& line) override {
        captions.push_back(line);
        visible = true;
    }
    void hideProgress() override { visible = false; }
};

}  // namespace qz::test
