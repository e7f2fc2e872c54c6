#pragma once

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <functional>
#include <memory>

#include <QSettings>

#include "app/help_viewer.h"
#include "core/program_state.h"
#include "core/prompts.h"
#include "link/module_protocol.h"
#include "link/port_directory.h"
#include "link/pty_simulator_host.h"
#include "link/serial_port.h"
#include "table/table_views.h"

namespace qz {

// The main window: the menus every command starts from, the four table views, the
// progress and port selection frames, the caption and the layout.
class frmTunewell_Main : public QMainWindow {
    Q_OBJECT
  public:
    frmTunewell_Main(ProgramState& state, Prompts& prompts, QString programFolder,
                     QWidget* parent = nullptr);
    ~frmTunewell_Main() override;

    TableViews& views() { return *views_; }
    HelpViewer* helpViewer() const { return helpViewer_.get(); }

    // Menus and their items, named as the program names them.
    QMenu* mnuFile;
    QAction* mnuNewTable;
    QAction* mnuOpenFile;
    QAction* mnuSaveFile;
    QAction* mnuSep2;
    QAction* mnuPrintTable;
    QAction* mnuPrintSetup;
    QAction* mnuSep3;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuEditModParams;
    QAction* mnuEditGPIOParams;
    QAction* mnuEditTimingTable;
    QAction* mnuSaveTbl;
    QAction* mnuCloseTbl;
    QMenu* mnuComm;
    QAction* mnuDownload;
    QAction* mnuUpload;
    QAction* mnuPortSetup;
    QMenu* mnuHelp;
    QAction* mnuHelpContents;
    QAction* mnuAbout;
    QMenu* mnuPopUpEdit2D;
    QAction* mnuPopUpCopy2D;
    QAction* mnuPopUpPaste2D;
    QAction* mnuPopUpModify2D;
    QMenu* mnuPopUpEdit3D;
    QAction* mnuPopUpCopy3D;
    QAction* mnuPopUpPaste3D;
    QAction* mnuPopUpModify3D;

    QGroupBox* fraProgress1;
    QProgressBar* prgProgress1;
    QGroupBox* fraPortSelect;
    QComboBox* cboPort;
    QLabel* lblPort;
    QPushButton* cmdPortSelectOK;
    QLabel* lblDevice;
    QComboBox* cboDevice;

    int CommPortNumber = 1;
    int CommErrorCount = 0;

    void mnuOpenFile_Click();
    void mnuSaveFile_Click();
    void mnuEditModParams_Click();
    void mnuEditGPIOParams_Click();
    void mnuSaveTbl_Click();
    void mnuCloseTbl_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();
    void Form_Resize();
    void mnuDownload_Click();
    void mnuUpload_Click();
    void mnuPortSetup_Click();
    void cboPort_Click();
    void cmdPortSelectOK_Click();
    void MSComm1_OnComm(int eventCode);

    // The serial port the window uses; tests put in their own.
    void useSerialPort(std::unique_ptr<SerialPort> port);
    SerialPort& serialPort() { return *port_; }
    ModuleProtocol& protocol() { return *protocol_; }
    bool transferRunning() const { return transferRunning_; }

    // How the window shows its modal dialogs; tests replace it to drive them.
    using DialogRunner = std::function<int(QDialog&)>;
    void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createMenus();
    void createFrames();
    void createSerialPort();
    void Form_Load();
    void setCaption(const std::string& text);
    void showBufferStatusCaption();
    void setTableCommandsEnabled(bool enabled);
    void disablePasteItems();
    bool Form_QueryUnload();
    void setUpSerialPort();
    void showDeviceOf(int number);
    void deviceChosen(int index);
    QString deviceForPort(int number);
    void reapplyPortSettings();
    bool readModule(EepromBytes& image);
    void uploadChecked();
    // Runs a transfer with every command that touches the port, the buffer or the tables
    // refused; the window still repaints, resizes and takes Esc.
    void runTransfer(const std::function<void()>& transfer);

    ProgramState& state_;
    Prompts& prompts_;
    QString programFolder_;
    QWidget* viewArea_;
    std::unique_ptr<TableViews> views_;
    std::unique_ptr<HelpViewer> helpViewer_;
    DialogRunner runDialog_ = [](QDialog& dialog) { return dialog.exec(); };
    QSettings settings_;
    std::unique_ptr<PortDirectory> ports_;
    std::unique_ptr<PtySimulatorHost> simulator_;
    std::unique_ptr<SerialPort> port_;
    std::unique_ptr<ProgressView> progress_;
    std::unique_ptr<ModuleProtocol> protocol_;
    bool transferRunning_ = false;
};

}  // namespace qz
