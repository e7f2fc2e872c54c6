#include <QCoreApplication>

#include "app/main_window.h"
#include "image/parameter_codec.h"
#include "link/line_errors.h"
#include "link/qt_serial_port.h"
#include "link/transfer_checks.h"

namespace qz {
namespace {

// The progress frame of the main window as the transfers see it.
class ProgressFrame : public ProgressView {
  public:
    ProgressFrame(QGroupBox* frame, QProgressBar* bar) : frame_(frame), bar_(bar) {
        bar_->setRange(0, 100);
    }
    void showProgress(const std::string& caption) override {
        frame_->setTitle(QString::fromStdString(caption));
        bar_->setValue(0);
        frame_->show();
        frame_->raise();
        frame_->repaint();
    }
    void setProgress(int percent) override { bar_->setValue(percent); }
    void hideProgress() override { frame_->hide(); }

  private:
    QGroupBox* frame_;
    QProgressBar* bar_;
};

}  // namespace

void frmTunewell_Main::createSerialPort() {
    ports_ = std::make_unique<PortDirectory>(settings_, detectSerialDevices());
    progress_ = std::make_unique<ProgressFrame>(fraProgress1, prgProgress1);
    useSerialPort(
        std::make_unique<QtSerialPort>([this](int number) { return deviceForPort(number); }));
    connect(cboPort, &QComboBox::activated, this, &frmTunewell_Main::cboPort_Click);
    connect(cboDevice, &QComboBox::activated, this, &frmTunewell_Main::deviceChosen);
    connect(cmdPortSelectOK, &QPushButton::clicked, this, &frmTunewell_Main::cmdPortSelectOK_Click);
}

void frmTunewell_Main::useSerialPort(std::unique_ptr<SerialPort> port) {
    port_ = std::move(port);
    port_->onLineEvent = [this](LineEvent event) { MSComm1_OnComm(static_cast<int>(event)); };
    port_->setPortNumber(CommPortNumber);
    protocol_ = std::make_unique<ModuleProtocol>(*port_, prompts_, state_, *progress_);
}

// Start-up: the saved port is selected and the line configured; the port stays closed.
void frmTunewell_Main::setUpSerialPort() {
    state_.UserAbort = false;
    CommPortNumber = ports_->savedPortNumber();
    if (cboPort->count() == 0)
        for (int number = 1; number <= 255; ++number)
            cboPort->addItem(QStringLiteral("Com%1").arg(number));
    cboPort->setCurrentIndex(CommPortNumber - 1);
    cboPort_Click();
    port_->applyLineSettings();
    CommErrorCount = 0;
}

void frmTunewell_Main::cboPort_Click() {
    CommPortNumber = cboPort->currentIndex() + 1;
    ports_->savePortNumber(CommPortNumber);
    if (port_->isOpen()) port_->close();
    port_->setPortNumber(CommPortNumber);
    showDeviceOf(CommPortNumber);
}

// Shows which device the chosen number opens, among the machine's devices and the simulator.
void frmTunewell_Main::showDeviceOf(int number) {
    cboDevice->clear();
    for (const QString& device : ports_->detected()) cboDevice->addItem(device, device);
    cboDevice->addItem(QString::fromLatin1(PortDirectory::kSimulatorName),
                       QString::fromLatin1(PortDirectory::kSimulator));
    const QString device = ports_->deviceFor(number);
    int index = cboDevice->findData(device);
    if (index < 0 && !device.isEmpty()) {
        cboDevice->addItem(device, device);
        index = cboDevice->count() - 1;
    }
    if (index < 0) {
        cboDevice->insertItem(0, QStringLiteral("(no device)"), QString());
        index = 0;
    }
    cboDevice->setCurrentIndex(index);
}

void frmTunewell_Main::deviceChosen(int index) {
    ports_->choose(CommPortNumber, cboDevice->itemData(index).toString());
    if (port_->isOpen()) port_->close();
}

QString frmTunewell_Main::deviceForPort(int number) {
    const QString device = ports_->deviceFor(number);
    if (device != QLatin1String(PortDirectory::kSimulator)) return device;
    // The simulator keeps its EEPROM for the whole run, so an upload can be read back.
    if (!simulator_)
        simulator_ =
            std::make_unique<PtySimulatorHost>(ModuleSimulator(demoTune(), kDefaultSimulatorId));
    return simulator_->devicePath();
}

void frmTunewell_Main::mnuPortSetup_Click() {
    fraPortSelect->show();
    fraPortSelect->raise();
}

void frmTunewell_Main::cmdPortSelectOK_Click() {
    fraPortSelect->hide();
}

void frmTunewell_Main::MSComm1_OnComm(int eventCode) {
    handleLineEvent(eventCode, CommErrorCount, *port_, prompts_);
}

// After a resize the port is closed and, unless the window was minimised, configured again.
// A running transfer keeps its port: closing it would lose the reply on its way.
void frmTunewell_Main::reapplyPortSettings() {
    if (transferRunning_ || !port_) return;
    if (port_->isOpen()) port_->close();
    if (isMinimized()) return;
    port_->applyLineSettings();
    CommErrorCount = 0;
}

void frmTunewell_Main::runTransfer(const std::function<void()>& transfer) {
    if (transferRunning_) return;
    std::vector<std::pair<QAction*, bool>> saved;
    for (QAction* action : findChildren<QAction*>()) {
        // The menus themselves stay open to look into; Help and About stay usable.
        if (action->menu() || action == mnuHelpContents || action == mnuAbout ||
            action->isSeparator())
            continue;
        saved.emplace_back(action, action->isEnabled());
        action->setEnabled(false);
    }
    fraPortSelect->setEnabled(false);
    views_->grid2D().setEnabled(false);
    views_->grid3D().setEnabled(false);
    transferRunning_ = true;
    transfer();
    transferRunning_ = false;
    views_->grid2D().setEnabled(true);
    views_->grid3D().setEnabled(true);
    fraPortSelect->setEnabled(true);
    for (const auto& [action, enabled] : saved) action->setEnabled(enabled);
}

// Reads the module into a fresh image. The buffer, the tables and the caption are replaced
// only when all 264 bytes have arrived: a missing cable, another module or Esc loses nothing.
void frmTunewell_Main::mnuDownload_Click() {
    if (transferRunning_) return;
    if (!state_.BufferEmpty &&
        prompts_.message("Data buffer not empty. OK to overwrite?", PromptIcon::None,
                         PromptButtons::OKCancel, kDownloadTitle) == PromptAnswer::Cancel)
        return;
    QCoreApplication::processEvents();
    EepromBytes image{};
    bool complete = false;
    runTransfer([&] { complete = readModule(image); });
    if (!complete) return;
    views_->hideAll();
    state_.EEPROMBuffer = image;
    state_.BufferEmpty = false;
    UpdateParams(state_, prompts_);
    if (state_.Table3DEnabled) views_->chartSetup3D();
    mnuNewTable->setEnabled(true);
    setTableCommandsEnabled(state_.Table2DEnabled || state_.Table3DEnabled);
    state_.BufferStatus = "Downloaded Data";
    setCaption(state_.AppTitle + " - Downloaded Data");
    prompts_.message("Downloaded data to buffer. Ready for editing.", PromptIcon::None,
                     PromptButtons::OK, kDownloadTitle);
    mnuEditModParams_Click();
}

bool frmTunewell_Main::readModule(EepromBytes& image) {
    if (!checkLink(*protocol_, *port_, prompts_, kDownloadTitle) ||
        !checkIdentity(*protocol_, state_, prompts_, kDownloadTitle, "download"))
        return false;
    if (state_.ModuleType != "QZ-1") {
        prompts_.message("Not standard QZ-1 unit. Cannot download and edit data.", PromptIcon::None,
                         PromptButtons::OK, kDownloadTitle);
        return false;
    }
    protocol_->ReadEEPROMData(image);
    if (protocol_->CommOK) return true;
    prompts_.message("Download failed.", PromptIcon::Exclamation, PromptButtons::OK,
                     kDownloadTitle);
    return false;
}

void frmTunewell_Main::mnuUpload_Click() {
    runTransfer([this] { uploadChecked(); });
}

void frmTunewell_Main::uploadChecked() {
    if (views_->tableOpen()) {
        prompts_.message("You must close or save any open table before uploading.",
                         PromptIcon::Exclamation, PromptButtons::OK, kUploadTitle);
        return;
    }
    if (state_.BufferEmpty) {
        prompts_.message("No data available for uploading.", PromptIcon::Exclamation,
                         PromptButtons::OK, kUploadTitle);
        return;
    }
    if (!checkLink(*protocol_, *port_, prompts_, kUploadTitle) ||
        !checkIdentity(*protocol_, state_, prompts_, kUploadTitle, "upload"))
        return;
    if (state_.ModuleType != "QZ-1") {
        prompts_.message("Not standard QZ-1 unit. Cannot upload data.", PromptIcon::None,
                         PromptButtons::OK, kUploadTitle);
        state_.ModuleType = "QZ-1";
        return;
    }
    UpdateEEPROM(state_, prompts_);
    protocol_->WriteEEPROMData();
    if (!protocol_->CommOK) {
        prompts_.message("Upload aborted - EEPROM programming failed.", PromptIcon::Information,
                         PromptButtons::OK, kUploadTitle);
        return;
    }
    if (state_.VerifyErrorCount != 0) {
        prompts_.message("Upload aborted - EEPROM verification failed.", PromptIcon::Information,
                         PromptButtons::OK, kUploadTitle);
        return;
    }
    prompts_.message(
        "Upload completed. Remember to cycle power off for 5 seconds\nand then on again before "
        "starting engine.",
        PromptIcon::Exclamation, PromptButtons::OK, kUploadTitle);
}

}  // namespace qz
