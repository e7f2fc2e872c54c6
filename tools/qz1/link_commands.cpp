#include <pthread.h>
#include <unistd.h>
#include <QCoreApplication>
#include <csignal>
#include <iostream>
#include <optional>
#include <sstream>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_codec.h"
#include "link/pty_simulator_host.h"
#include "link/qt_serial_port.h"
#include "link/transfer_sequence.h"
#include "qz1/commands.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

// Progress on stderr, only when stderr is a terminal.
class TerminalProgress : public qz::ProgressView {
  public:
    explicit TerminalProgress(std::ostream& err) : err_(err), shown_(isatty(STDERR_FILENO) == 1) {}
    void showProgress(const std::string& caption) override {
        caption_ = caption;
        setProgress(0);
    }
    void setProgress(int percent) override {
        if (shown_ && percent != last_)
            err_ << '\r' << caption_ << ' ' << percent << "%   " << std::flush;
        last_ = percent;
    }
    void showStatus(const std::string& line) override {
        caption_ = line;
        if (shown_) err_ << '\r' << line << "..." << std::flush;
    }
    void hideProgress() override {
        if (shown_) err_ << '\r' << std::string(caption_.size() + 8, ' ') << '\r' << std::flush;
        last_ = -1;
    }

  private:
    std::ostream& err_;
    bool shown_;
    std::string caption_;
    int last_ = -1;
};

// What one transfer needs: the Qt application the serial port runs in (made here unless
// the caller has one), the device, prompts that answer Abort and write every message to
// stderr, and the progress on the terminal.
class Session {
  public:
    Session(const std::string& device, std::ostream& err)
        : prompts(qz::PromptAnswer::Abort, &err),
          progress(err),
          port([device](int) { return QString::fromStdString(device); }) {
        port.applyLineSettings();
        protocol = std::make_unique<qz::ModuleProtocol>(port, prompts, state, progress);
    }

  private:
    int argc_ = 1;
    char name_[4] = "qz1";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QCoreApplication> application_ =
        QCoreApplication::instance() ? nullptr : std::make_unique<QCoreApplication>(argc_, argv_);

  public:
    qz::ProgramState state;
    qz::AutoPrompts prompts;
    TerminalProgress progress;
    qz::QtSerialPort port;
    std::unique_ptr<qz::ModuleProtocol> protocol;
};

std::pair<std::string, std::string> portAndFile(const std::vector<std::string>& arguments,
                                                const char* command) {
    if (arguments.size() == 3 && arguments[0] == "--port") return {arguments[1], arguments[2]};
    throw BadInput(std::string(command) + " needs --port DEVICE FILE");
}

// The outcome's message (and the differing addresses) on stderr; the exit status.
int report(const qz::TransferOutcome& outcome, const char* title, std::ostream& err) {
    err << title << ": " << outcome.message << '\n';
    std::istringstream lines(outcome.detail());
    for (std::string line; std::getline(lines, line);) err << "  " << line << '\n';
    return outcome.succeeded ? kExitOk : kExitDifferent;
}

qz::SimulatorFaults parseFault(const std::string& text, qz::SimulatorFaults faults) {
    const auto equals = text.find('=');
    const std::string name = text.substr(0, equals);
    const int number = equals == std::string::npos ? 0 : std::atoi(text.c_str() + equals + 1);
    using Start = qz::SimulatorFaults::IdStart;
    if (name == "silent")
        faults.silent = true;
    else if (name == "no-echo")
        faults.noEcho = true;
    else if (name == "id-cr")
        faults.idStart = Start::CarriageReturn;
    else if (name == "id-letter")
        faults.idStart = Start::Letter;
    else if (name == "id-nonprintable")
        faults.idStart = Start::NonPrintable;
    else if (name == "slow")
        faults.idCharacterDelayMs = number > 0 ? number : 150;
    else if (name == "nak-resync")
        faults.nakResync = true;
    else if (name == "nak-address")
        faults.nakAddress = true;
    else if (name == "nak-program" && number > 0)
        faults.nakProgrammingAt = number;
    else if (name == "differ" && number > 0)
        faults.readBackDiffersAt = number;
    else if (name == "drop" && number > 0)
        faults.dropEvery = number;
    else if (name == "stray" && number > 0)
        faults.strayByteAt = number;
    else if (name == "vanish" && number > 0)
        faults.vanishAt = number;
    else
        throw BadInput("unknown fault \"" + text + "\"");
    return faults;
}

}  // namespace

int runDownload(const std::vector<std::string>& arguments, std::ostream& err) {
    const auto [device, output] = portAndFile(arguments, "download");
    Session session(device, err);
    qz::EepromBytes image{};
    const qz::TransferOutcome outcome = qz::downloadModule(*session.protocol, image);
    if (!outcome.succeeded) return report(outcome, qz::kDownloadTitle, err);
    try {
        qz::writeDataFile(QString::fromStdString(output), image);
    } catch (const qz::ProgramError& error) {
        throw BadInput(error.what());
    }
    return kExitOk;
}

// Uploads a data file as the program does after opening it: decoded, then encoded again.
int runUpload(const std::vector<std::string>& arguments, std::ostream& err) {
    const auto [device, input] = portAndFile(arguments, "upload");
    Tune tune = loadTune(input);
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    Session session(device, err);
    static_cast<qz::ModuleData&>(session.state) = tune.data;
    return report(qz::uploadImage(*session.protocol), qz::kUploadTitle, err);
}

int runSim(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    qz::EepromBytes image = qz::demoTune();
    std::string id = qz::kDefaultSimulatorId;
    qz::SimulatorFaults faults;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (i + 1 == arguments.size()) throw BadInput("sim: " + argument + " needs a value");
        const std::string& value = arguments[++i];
        if (argument == "--image") {
            const qz::ImageBytes bytes = [&] {
                try {
                    return qz::readDataFile(QString::fromStdString(value));
                } catch (const qz::PrematureEndOfFile& error) {
                    throw BadInput(value + ": " + error.what());
                } catch (const qz::ProgramError& error) {
                    throw BadInput(error.what());
                }
            }();
            std::copy(bytes.begin(), bytes.end(), image.begin() + qz::kImageFirstAddress);
        } else if (argument == "--id") {
            id = value;
        } else if (argument == "--fault") {
            faults = parseFault(value, faults);
        } else {
            throw BadInput("sim: unexpected argument \"" + argument + "\"");
        }
    }
    // Interrupt and terminate are taken by sigwait below, not by a handler; the mask is set
    // before the host starts its thread, which inherits it.
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGINT);
    sigaddset(&stop, SIGTERM);
    sigset_t previous;
    pthread_sigmask(SIG_BLOCK, &stop, &previous);
    {
        qz::PtySimulatorHost host{qz::ModuleSimulator(image, id, faults)};
        out << host.devicePath().toStdString() << std::endl;
        err << "Serving a simulated QZ-1 module (" << id << ") until interrupted.\n";
        int signal = 0;
        sigwait(&stop, &signal);
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return kExitOk;
}

}  // namespace qz1
