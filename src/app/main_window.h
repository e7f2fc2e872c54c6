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

#include <QPrinter>
#include <QSettings>

#include "app/help_viewer.h"
#include "core/program_state.h"
#include "core/prompts.h"
#include "files/restore_points.h"
#include "image/buffer_baseline.h"
#include "image/tune_difference.h"
#include "link/transfers.h"
#include "table/table_editor.h"

namespace qz {

// The main window: the menus every command starts from, the four table views, the
// progress and port selection frames, the caption and the layout.
class frmTunewell_Main : public QMainWindow {
    Q_OBJECT
  public:
    frmTunewell_Main(ProgramState& state, Prompts& prompts, QString programFolder,
                     QWidget* parent = nullptr);
    ~frmTunewell_Main() override;

    TableEditor& editor() { return *editor_; }
    HelpViewer* helpViewer() const { return helpViewer_.get(); }

    // Menus and their items, named as the program names them.
    QMenu* mnuFile;
    QAction* mnuNewTable;
    QAction* mnuOpenFile;
    QAction* mnuSaveFile;
    QAction* mnuCompareWith;
    QAction* mnuRestorePoints;
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
    QAction* mnuSep4;
    QAction* mnuStepSizes;
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
    QLabel* lblStatusPort;
    QLabel* lblStatusBuffer;

    void mnuOpenFile_Click();
    // Opens a data file named on the command line, as Open File does.
    void openDataFile(const std::string& name);
    // Save File; true when the buffer was written to a file.
    bool mnuSaveFile_Click();
    // Tune history: the restore points kept of every buffer, and the compare window.
    void mnuRestorePoints_Click();
    void mnuCompareWith_Click();
    void mnuEditModParams_Click();
    void mnuEditGPIOParams_Click();
    void mnuPrintTable_Click();
    void mnuPrintSetup_Click();
    void mnuNewTable_Click();
    void mnuEditTimingTable_Click();
    bool mnuSaveTbl_Click();
    bool mnuCloseTbl_Click();
    // Edit, Step Sizes: the fine and coarse steps of + and -, kept for the user.
    void mnuStepSizes_Click();
    void mnuHelpContents_Click();
    void mnuAbout_Click();
    void Form_Resize();
    void mnuDownload_Click();
    void mnuUpload_Click();
    void mnuPortSetup_Click();
    void cboPort_Click();
    void cmdPortSelectOK_Click();

    // The port, the protocol and the transfers; tests put in a port of their own.
    Transfers& transfers() { return *transfers_; }

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
    // The table editor's keyboard commands in the Edit menu and the grids' menus.
    void addTableCommands();
    void createFrames();
    void createSerialPort();
    void Form_Load();
    void setCaption(const std::string& text);
    void showBufferStatusCaption();
    void setTableCommandsEnabled(bool enabled);
    QMenu* popUpMenu(TableKind kind) const {
        return kind == TableKind::Table3D ? mnuPopUpEdit3D : mnuPopUpEdit2D;
    }
    QAction* popUpPaste(TableKind kind) const {
        return kind == TableKind::Table3D ? mnuPopUpPaste3D : mnuPopUpPaste2D;
    }
    // A new image in the buffer, from a file or the module: decoded, the views set up for it,
    // the table commands following its selection, the caption naming where it came from.
    void takeImage(const EepromBytes& image, const std::string& status);
    // Open File, or with `point` the Restore of a restore point: the same questions, decode
    // and parameter dialog.
    void openImage(const std::string& given, const std::optional<RestorePoint>& point);
    // The buffer kept as a restore point (not when it is empty); a point that cannot be
    // written is said on the status bar, and the command goes on.
    void keepRestorePoint(const std::string& origin);
    EepromBytes bufferAsKept() const;
    void keepImage(const EepromBytes& image, const std::string& origin, const std::string& file);
    // The buffer as a save would store it now, the open table's edits included, decoded.
    ModuleData bufferAsSaved() const;
    void compareWith(const ModuleData& there, const QString& name);
    std::optional<ModuleData> readModuleForCompare();
    void takeCompareCells(TableKind kind, const std::vector<CellDifference>& cells);
    void takeCompareParameter(std::string_view variable, const ModuleData& there);
    bool Form_QueryUnload();
    // The buffer into a data file chosen by the user; true when it was written.
    bool saveBufferToFile();
    void setUpSerialPort();
    void showDeviceOf(int number);
    void deviceEdited();
    TransferOutcome runTransfer(const std::function<TransferOutcome()>& transfer);
    void showOutcome(const TransferOutcome& outcome, const std::string& title);
    void closeIfRequested();
    void runWizard(TableKind kind);
    // The status bar: the port and its device, and what the buffer holds.
    void updateStatusBar();

    ProgramState& state_;
    Prompts& prompts_;
    QString programFolder_;
    QWidget* viewArea_;
    std::unique_ptr<TableEditor> editor_;
    std::unique_ptr<HelpViewer> helpViewer_;
    DialogRunner runDialog_ = [](QDialog& dialog) { return dialog.exec(); };
    QSettings settings_;
    std::unique_ptr<ProgressView> progress_;
    std::unique_ptr<Transfers> transfers_;
    bool closeRequested_ = false;
    QPrinter printer_;
    std::string currentFile_;  // the data file the buffer was last opened from or saved to
    BufferBaseline baseline_;  // the buffer as a file or the module last held it
    RestorePoints restorePoints_;
    // The image the module on the current port holds, as far as this program last saw it
    // (downloaded or uploaded and verified); forgotten when the port or device changes.
    std::optional<EepromBytes> moduleImage_;
};

}  // namespace qz
