#include <unistd.h>
#include <QCoreApplication>
#include <atomic>
#include <csignal>
#include <iostream>
#include <thread>

#include "files/data_file.h"
#include "image/parameter_codec.h"
#include "link/pty_simulator_host.h"
#include "link/qt_serial_port.h"
#include "link/transfer_checks.h"
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

struct Session {
    Session(const std::string& device, std::ostream& err)
        : prompts(qz::PromptAnswer::Abort, &err),
          progress(err),
          port([device](int) { return QString::fromStdString(device); }) {
        port.applyLineSettings();
        protocol = std::make_unique<qz::ModuleProtocol>(port, prompts, state, progress);
    }
    qz::ProgramState state;
    ToolPrompts prompts;
    TerminalProgress progress;
    qz::QtSerialPort port;
    std::unique_ptr<qz::ModuleProtocol> protocol;
};

std::pair<std::string, std::string> portAndFile(const std::vector<std::string>& arguments,
                                                const char* command) {
    if (arguments.size() == 3 && arguments[0] == "--port") return {arguments[1], arguments[2]};
    throw BadInput(std::string(command) + " needs --port DEVICE FILE");
}

QCoreApplication& application() {
    if (auto* existing = QCoreApplication::instance()) return *existing;
    static int argc = 1;
    static char name[] = "qz1";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

bool identified(Session& session, const char* title, const char* verb, const char* refusal,
                std::ostream& err) {
    if (!qz::checkLink(*session.protocol, session.port, session.prompts, title) ||
        !qz::checkIdentity(*session.protocol, session.state, session.prompts, title, verb))
        return false;
    if (session.state.ModuleType == "QZ-1") return true;
    err << title << ": " << refusal << '\n';
    return false;
}

std::atomic<bool> interrupted{false};

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
    else
        throw BadInput("unknown fault \"" + text + "\"");
    return faults;
}

}  // namespace

int runDownload(const std::vector<std::string>& arguments, std::ostream& err) {
    const auto [device, output] = portAndFile(arguments, "download");
    application();
    Session session(device, err);
    if (!identified(session, qz::kDownloadTitle, "download",
                    "Not standard QZ-1 unit. Cannot download and edit data.", err))
        return kExitDifferent;
    qz::EepromBytes image{};
    session.protocol->ReadEEPROMData(image);
    if (!session.protocol->CommOK) {
        err << qz::kDownloadTitle << ": Download failed.\n";
        return kExitDifferent;
    }
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
    application();
    Session session(device, err);
    static_cast<qz::ModuleData&>(session.state) = tune.data;
    if (!identified(session, qz::kUploadTitle, "upload",
                    "Not standard QZ-1 unit. Cannot upload data.", err))
        return kExitDifferent;
    qz::UpdateEEPROM(session.state, session.prompts);
    session.protocol->WriteEEPROMData();
    if (!session.protocol->CommOK) {
        err << qz::kUploadTitle << ": Upload aborted - EEPROM programming failed.\n";
        return kExitDifferent;
    }
    if (session.state.VerifyErrorCount != 0) {
        err << qz::kUploadTitle << ": Upload aborted - EEPROM verification failed.\n";
        for (const auto& mismatch : session.protocol->mismatches)
            err << "  address " << mismatch.address << ": wrote " << int(mismatch.expected)
                << ", read " << int(mismatch.read) << '\n';
        return kExitDifferent;
    }
    err << qz::kUploadTitle << ": Upload completed. Remember to cycle power off for 5 seconds\n"
        << "and then on again before starting engine.\n";
    return kExitOk;
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
    qz::PtySimulatorHost host{qz::ModuleSimulator(image, id, faults)};
    out << host.devicePath().toStdString() << std::endl;
    err << "Serving a simulated QZ-1 module (" << id << ") until interrupted.\n";
    std::signal(SIGINT, [](int) { interrupted = true; });
    std::signal(SIGTERM, [](int) { interrupted = true; });
    while (!interrupted) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return kExitOk;
}

}  // namespace qz1
