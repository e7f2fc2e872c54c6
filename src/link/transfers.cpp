#include "link/transfers.h"

#include "core/scope_exit.h"
#include "link/line_errors.h"
#include "link/qt_serial_port.h"

namespace qz {

Transfers::Transfers(QSettings& settings, QStringList detectedDevices, ProgramState& state,
                     Prompts& prompts, ProgressView& progress)
    : state_(state), prompts_(prompts), progress_(progress), ports_(settings, detectedDevices) {
    usePort(std::make_unique<QtSerialPort>([this](int number) { return deviceForPort(number); }));
}

Transfers::~Transfers() = default;

void Transfers::usePort(std::unique_ptr<SerialPort> port) {
    port_ = std::move(port);
    port_->onLineEvent = [this](LineEvent event) { MSComm1_OnComm(static_cast<int>(event)); };
    port_->setPortNumber(CommPortNumber);
    protocol_ = std::make_unique<ModuleProtocol>(*port_, prompts_, state_, progress_);
}

void Transfers::setUp() {
    CommPortNumber = ports_.savedPortNumber();
    port_->setPortNumber(CommPortNumber);
    port_->applyLineSettings();
    CommErrorCount = 0;
}

void Transfers::selectPort(int number) {
    CommPortNumber = number;
    ports_.savePortNumber(number);
    closePort();
    port_->setPortNumber(number);
}

void Transfers::chooseDevice(const QString& device) {
    ports_.choose(CommPortNumber, device);
    closePort();
}

void Transfers::windowResized(bool minimised) {
    if (running_) return;
    closePort();
    if (minimised) return;
    port_->applyLineSettings();
    CommErrorCount = 0;
}

void Transfers::closePort() {
    if (port_->isOpen()) port_->close();
}

TransferOutcome Transfers::download(EepromBytes& image) {
    running_ = true;
    const ScopeExit done([this] { running_ = false; });
    return downloadModule(*protocol_, image);
}

TransferOutcome Transfers::upload() {
    running_ = true;
    const ScopeExit done([this] { running_ = false; });
    return uploadImage(*protocol_);
}

void Transfers::MSComm1_OnComm(int eventCode) {
    handleLineEvent(eventCode, CommErrorCount, *port_, prompts_);
}

QString Transfers::deviceForPort(int number) {
    const QString device = ports_.deviceFor(number);
    if (device != QLatin1String(PortDirectory::kSimulator)) return device;
    // The simulator keeps its EEPROM for the whole run, so an upload can be read back.
    if (!simulator_)
        simulator_ =
            std::make_unique<PtySimulatorHost>(ModuleSimulator(demoTune(), kDefaultSimulatorId));
    return simulator_->devicePath();
}

}  // namespace qz
