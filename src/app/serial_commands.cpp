#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>

#include "app/main_window.h"
#include "core/scope_exit.h"
#include "image/parameter_codec.h"
#include "link/qt_serial_port.h"

namespace qz {
namespace {

// The progress frame of the main window as the transfers see it.
class ProgressFrame : public ProgressView {
  public:
    ProgressFrame(QGroupBox* frame, QProgressBar* bar) : frame_(frame), bar_(bar) {}
    void showProgress(const std::string& caption) override {
        bar_->setRange(0, 100);
        show(caption);
    }
    void setProgress(int percent) override { bar_->setValue(percent); }
    // A bar without a range says "busy" while the module is being reached.
    void showStatus(const std::string& line) override {
        bar_->setRange(0, 0);
        show(line);
    }
    void hideProgress() override { frame_->hide(); }

  private:
    void show(const std::string& caption) {
        frame_->setTitle(QString::fromStdString(caption));
        bar_->setValue(0);
        frame_->show();
        frame_->raise();
        frame_->repaint();
    }
    QGroupBox* frame_;
    QProgressBar* bar_;
};

}  // namespace

void frmTunewell_Main::createSerialPort() {
    progress_ = std::make_unique<ProgressFrame>(fraProgress1, prgProgress1);
    transfers_ =
        std::make_unique<Transfers>(settings_, detectSerialDevices(), state_, prompts_, *progress_);
    connect(cboPort, &QComboBox::activated, this, &frmTunewell_Main::cboPort_Click);
    connect(cboDevice, &QComboBox::activated, this, &frmTunewell_Main::deviceEdited);
    connect(cboDevice->lineEdit(), &QLineEdit::editingFinished, this,
            &frmTunewell_Main::deviceEdited);
    connect(cmdPortSelectOK, &QPushButton::clicked, this, &frmTunewell_Main::cmdPortSelectOK_Click);
}

// Start-up: the saved port is selected and the line configured; the port stays closed.
void frmTunewell_Main::setUpSerialPort() {
    transfers_->setUp();
    if (cboPort->count() == 0)
        for (int number = 1; number <= 255; ++number)
            cboPort->addItem(QStringLiteral("Com%1").arg(number));
    cboPort->setCurrentIndex(transfers_->CommPortNumber - 1);
    cboPort_Click();
}

void frmTunewell_Main::cboPort_Click() {
    if (cboPort->currentIndex() + 1 != transfers_->CommPortNumber) moduleImage_.reset();
    transfers_->selectPort(cboPort->currentIndex() + 1);
    showDeviceOf(transfers_->CommPortNumber);
    updateStatusBar();
}

// Shows which device the chosen number opens, among the machine's devices and the simulator;
// another device path can be typed in.
void frmTunewell_Main::showDeviceOf(int number) {
    const PortDirectory& ports = transfers_->ports();
    cboDevice->clear();
    for (const QString& device : ports.detected()) cboDevice->addItem(device, device);
    cboDevice->addItem(QString::fromLatin1(PortDirectory::kSimulatorName),
                       QString::fromLatin1(PortDirectory::kSimulator));
    const QString device = ports.deviceFor(number);
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

// A device picked from the list, or a path typed into the box, for the current port number.
void frmTunewell_Main::deviceEdited() {
    const QString text = cboDevice->currentText().trimmed();
    const int index = cboDevice->findText(text);
    const QString device = index >= 0 ? cboDevice->itemData(index).toString() : text;
    if (device == transfers_->ports().deviceFor(transfers_->CommPortNumber)) return;
    transfers_->chooseDevice(device);
    moduleImage_.reset();
    updateStatusBar();
}

void frmTunewell_Main::mnuPortSetup_Click() {
    fraPortSelect->show();
    fraPortSelect->raise();
}

void frmTunewell_Main::cmdPortSelectOK_Click() {
    deviceEdited();
    fraPortSelect->hide();
}

// Runs a transfer with every command that touches the port, the buffer or the tables
// refused and the busy cursor on; the window still repaints, resizes and takes Esc. Every
// way out, an error included, gives the window back as it was.
TransferOutcome frmTunewell_Main::runTransfer(const std::function<TransferOutcome()>& transfer) {
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
    editor_->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const ScopeExit restore([&] {
        QApplication::restoreOverrideCursor();
        fraPortSelect->setEnabled(true);
        editor_->setEnabled(true);
        for (const auto& [action, enabled] : saved) action->setEnabled(enabled);
    });
    return transfer();
}

void frmTunewell_Main::showOutcome(const TransferOutcome& outcome, const std::string& title) {
    prompts_.message(outcome.message, outcome.icon, PromptButtons::OK, title, outcome.detail());
}

// A close asked for while a transfer ran is carried out once the command has ended.
void frmTunewell_Main::closeIfRequested() {
    if (!closeRequested_) return;
    closeRequested_ = false;
    close();
}

// Reads the module into a fresh image. The buffer, the tables and the caption are replaced
// only when all 264 bytes have arrived: a missing cable, another module or Esc loses nothing.
void frmTunewell_Main::mnuDownload_Click() {
    if (transfers_->running() || !editor_->offerToKeepEdits()) return;
    if (!state_.BufferEmpty &&
        prompts_.message("Data buffer not empty. OK to overwrite?", PromptIcon::None,
                         PromptButtons::OKCancel, kDownloadTitle) == PromptAnswer::Cancel)
        return;
    QCoreApplication::processEvents();
    keepRestorePoint("before Download");
    EepromBytes image{};
    const TransferOutcome outcome = runTransfer([&] { return transfers_->download(image); });
    if (outcome.succeeded) {
        currentFile_.clear();
        takeImage(image, "Downloaded Data");
        moduleImage_ = encodedImage(state_);
        keepImage(image, "downloaded from the module", {});
    }
    showOutcome(outcome, kDownloadTitle);
    if (outcome.succeeded && !closeRequested_) mnuEditModParams_Click();
    closeIfRequested();
}

void frmTunewell_Main::mnuUpload_Click() {
    if (transfers_->running()) return;
    if (editor_->tableOpen()) {
        prompts_.message("You must close or save any open table before uploading.",
                         PromptIcon::Exclamation, PromptButtons::OK, kUploadTitle);
        return;
    }
    const TransferOutcome outcome = runTransfer([this] { return transfers_->upload(); });
    if (outcome.succeeded) {
        baseline_.set(state_);
        moduleImage_ = encodedImage(state_);
        keepImage(state_.EEPROMBuffer, "uploaded to the module", currentFile_);
    }
    updateStatusBar();
    showOutcome(outcome, kUploadTitle);
    closeIfRequested();
}

}  // namespace qz
