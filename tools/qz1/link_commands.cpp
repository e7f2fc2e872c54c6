#include <iostream>
#include <sstream>

#include "core/auto_prompts.h"
#include "files/data_file.h"
#include "image/parameter_codec.h"
#include "link/pty_simulator_host.h"
#include "link/qt_serial_port.h"
#include "link/transfer_sequence.h"
#include "qz1/commands.h"
#include "qz1/hidden_application.h"
#include "qz1/sim_faults.h"
#include "qz1/terminal.h"
#include "qz1/tune.h"

namespace qz1 {
namespace {

// Progress on stderr, only when stderr is a terminal.
class TerminalProgress : public qz::ProgressView {
  public:
    explicit TerminalProgress(std::ostream& err) : err_(err), shown_(stderrIsTerminal()) {}
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

// The program's messages as a terminal reads them: there is no button to click.
std::string forTerminal(std::string text) {
    for (const char* click : {" Check cable and click Abort.", " Check cable and click Retry."})
        if (const auto at = text.find(click); at != std::string::npos)
            text.replace(at, std::string(click).size(), " Check the cable.");
    return text;
}

// Prompts that answer Abort and write every message, worded for a terminal, to stderr.
class TerminalPrompts : public qz::AutoPrompts {
  public:
    explicit TerminalPrompts(std::ostream& err) : AutoPrompts(qz::PromptAnswer::Abort, &err) {}
    qz::PromptAnswer message(const std::string& text, qz::PromptIcon icon,
                             qz::PromptButtons buttons, const std::string& title,
                             const std::string& detail = {}) override {
        return AutoPrompts::message(forTerminal(text), icon, buttons, title, detail);
    }
};

// What one transfer needs: the Qt application the serial port runs in, the device, prompts
// that answer Abort and write every message to stderr, and the progress on the terminal.
class Session {
  public:
    Session(const std::string& device, std::ostream& err)
        : prompts(err),
          progress(err),
          port([device](int) { return QString::fromStdString(device); }) {
        port.applyLineSettings();
        protocol = std::make_unique<qz::ModuleProtocol>(port, prompts, state, progress);
    }

  private:
    HiddenApplication application_{HiddenApplication::Kind::Core};

  public:
    qz::ProgramState state;
    TerminalPrompts prompts;
    TerminalProgress progress;
    qz::QtSerialPort port;
    std::unique_ptr<qz::ModuleProtocol> protocol;
};

// The outcome's message (and the differing addresses) on stderr; the exit status.
int report(const qz::TransferOutcome& outcome, const char* title, std::ostream& err) {
    err << title << ": " << forTerminal(outcome.message) << '\n';
    std::istringstream lines(outcome.detail());
    for (std::string line; std::getline(lines, line);) err << "  " << line << '\n';
    return outcome.succeeded ? kExitOk : kExitTransferFailed;
}

}  // namespace

int runDownload(const Arguments& arguments, std::ostream&, std::ostream& err) {
    const std::string& output = arguments.positional(0);
    Session session(*arguments.value("--port"), err);
    qz::EepromBytes image{};
    const qz::TransferOutcome outcome = qz::downloadModule(*session.protocol, image);
    if (!outcome.succeeded) return report(outcome, qz::kDownloadTitle, err);
    aboutFile(output, [&] { qz::writeDataFile(QString::fromStdString(output), image); });
    return kExitOk;
}

// Uploads a data file as the program does after opening it: decoded, then encoded again,
// so every stored value must decode.
int runUpload(const Arguments& arguments, std::ostream&, std::ostream& err) {
    Tune tune = loadTune(arguments.positional(0));
    if (reportDecodeFailures(tune, err) != kExitOk) return kExitDecodeFailure;
    Session session(*arguments.value("--port"), err);
    static_cast<qz::ModuleData&>(session.state) = tune.data;
    return report(qz::uploadImage(*session.protocol), qz::kUploadTitle, err);
}

// The image is served as the file holds it, decodable or not.
int runSim(const Arguments& arguments, std::ostream& out, std::ostream& err) {
    qz::EepromBytes image = qz::demoTune();
    if (const auto file = arguments.value("--image")) {
        const auto bytes =
            aboutFile(*file, [&] { return qz::readDataFile(QString::fromStdString(*file)); });
        std::copy(bytes.begin(), bytes.end(), image.begin() + qz::kImageFirstAddress);
    }
    const std::string id = arguments.value("--id").value_or(qz::kDefaultSimulatorId);
    qz::SimulatorFaults faults;
    for (const auto& [option, fault] : arguments.values({"--fault"}))
        faults = withFault(faults, fault);
    runUntilInterrupted([&](const std::function<void()>& wait) {
        qz::PtySimulatorHost host{qz::ModuleSimulator(image, id, faults)};
        out << host.devicePath().toStdString() << std::endl;
        err << "Serving a simulated QZ-1 module (" << id << ") until interrupted.\n";
        wait();
    });
    return kExitOk;
}

}  // namespace qz1
