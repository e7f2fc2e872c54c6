#include "app/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QStatusBar>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "core/program_error.h"
#include "files/configuration.h"
#include "image/eeprom_buffer.h"
#include "image/module_names.h"
#include "params/gpio_params_dialog.h"
#include "params/module_params_dialog.h"
#include "table/step_sizes_dialog.h"
#include "wizards/new_2d_table_dialog.h"
#include "wizards/new_3d_table_dialog.h"

namespace qz {

frmTunewell_Main::frmTunewell_Main(ProgramState& state, Prompts& prompts, QString programFolder,
                                   QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      prompts_(prompts),
      programFolder_(std::move(programFolder)),
      viewArea_(new QWidget(this)),
      settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Tunewell"),
                QString::fromLatin1(kSettingsApplication)) {
    setObjectName(QStringLiteral("frmTunewell_Main"));
    setWindowTitle(QStringLiteral("Tunewell QZ Version 1.5"));
    viewArea_->setObjectName(QStringLiteral("viewArea"));
    setCentralWidget(viewArea_);
    createMenus();
    TableHooks hooks;
    hooks.setPasteEnabled = [this](TableKind kind, bool enabled) {
        popUpPaste(kind)->setEnabled(enabled);
    };
    hooks.showContextMenu = [this](TableKind kind, QPoint at) { popUpMenu(kind)->popup(at); };
    hooks.formResize = [this] { Form_Resize(); };
    hooks.runWizard = [this](TableKind kind) { runWizard(kind); };
    editor_ = std::make_unique<TableEditor>(state_, prompts_, programFolder_, viewArea_,
                                            std::move(hooks));
    // An edit of the open table ends "module = buffer" at once.
    connect(&editor_->undoStack(), &QUndoStack::indexChanged, this,
            &frmTunewell_Main::updateStatusBar);
    editor_->setStepSizes(readStepSizes(settings_));
    addTableCommands();
    createFrames();
    createSerialPort();
    qApp->installEventFilter(this);

    resize(1024, 720);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2,
             area.top() + (area.height() - height()) / 2);
    }
    Form_Load();
}

frmTunewell_Main::~frmTunewell_Main() = default;

void frmTunewell_Main::createFrames() {
    fraProgress1 = new QGroupBox(QStringLiteral("Programming"), viewArea_);
    fraProgress1->setObjectName(QStringLiteral("fraProgress1"));
    prgProgress1 = new QProgressBar(fraProgress1);
    prgProgress1->setObjectName(QStringLiteral("prgProgress1"));
    auto* progressLayout = new QVBoxLayout(fraProgress1);
    progressLayout->addWidget(prgProgress1);
    fraProgress1->hide();

    fraPortSelect = new QGroupBox(QStringLiteral("Data Port Setup"), viewArea_);
    fraPortSelect->setObjectName(QStringLiteral("fraPortSelect"));
    lblPort = new QLabel(QStringLiteral("Port"), fraPortSelect);
    lblPort->setObjectName(QStringLiteral("lblPort"));
    cboPort = new QComboBox(fraPortSelect);
    cboPort->setObjectName(QStringLiteral("cboPort"));
    cmdPortSelectOK = new QPushButton(QStringLiteral("OK"), fraPortSelect);
    cmdPortSelectOK->setObjectName(QStringLiteral("cmdPortSelectOK"));
    lblDevice = new QLabel(QStringLiteral("Device"), fraPortSelect);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    cboDevice = new QComboBox(fraPortSelect);
    cboDevice->setObjectName(QStringLiteral("cboDevice"));
    cboDevice->setMinimumWidth(220);
    cboDevice->setEditable(true);  // a device path can be typed, such as a pseudo-terminal
    cboDevice->setInsertPolicy(QComboBox::NoInsert);
    auto* portLayout = new QGridLayout(fraPortSelect);
    portLayout->addWidget(lblPort, 0, 0);
    portLayout->addWidget(cboPort, 0, 1);
    portLayout->addWidget(lblDevice, 1, 0);
    portLayout->addWidget(cboDevice, 1, 1);
    portLayout->addWidget(cmdPortSelectOK, 2, 1, Qt::AlignRight);
    fraPortSelect->adjustSize();
    fraPortSelect->setAutoFillBackground(true);
    fraProgress1->setAutoFillBackground(true);
    fraProgress1->resize(360, 80);
    fraPortSelect->hide();

    lblStatusPort = new QLabel(this);
    lblStatusPort->setObjectName(QStringLiteral("lblStatusPort"));
    lblStatusBuffer = new QLabel(this);
    lblStatusBuffer->setObjectName(QStringLiteral("lblStatusBuffer"));
    statusBar()->addWidget(lblStatusPort);
    statusBar()->addPermanentWidget(lblStatusBuffer);
}

// Brings the program into its initial state, in this order.
void frmTunewell_Main::Form_Load() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        QCoreApplication::setApplicationName(QStringLiteral("Tunewell_QZ_Main"));
        trap.step([&] {
            if (!QDir::setCurrent(programFolder_))
                throw ProgramError(76, "Tunewell_QZ", "Path not found");
        });
        state_.UserAbort = false;
        trap.step([&] { setUpSerialPort(); });
        ClearEEPROMBuffer(state_);
        editor_->setUpAtStartup(QStringLiteral("Form Load"));
        state_.AppTitle = windowTitle().toStdString();
        trap.step([&] {
            setCaption(configurationItem(state_, state_.CompanyInfo, 1) + " " + state_.AppTitle);
        });
        state_.BufferStatus.clear();
        state_.FirmwareID.clear();
        static_cast<ParameterVariables&>(state_) = ParameterVariables{};
        mnuNewTable->setEnabled(true);
        setTableCommandsEnabled(false);
        state_.ClipText.clear();
        state_.ClipColSpan = 0;
        state_.ClipRowSpan = 0;
        for (TableKind kind : {TableKind::Table2D, TableKind::Table3D})
            popUpPaste(kind)->setEnabled(false);
        state_.ModuleType = "QZ-1";
        QGuiApplication::clipboard()->clear();
    });
}

void frmTunewell_Main::setCaption(const std::string& text) {
    setWindowTitle(QString::fromStdString(text));
    updateStatusBar();
}

void frmTunewell_Main::showBufferStatusCaption() {
    setCaption(state_.AppTitle + " - " + state_.BufferStatus);
}

void frmTunewell_Main::setTableCommandsEnabled(bool enabled) {
    for (QAction* command : {mnuEditTimingTable, mnuCloseTbl, mnuSaveTbl})
        command->setEnabled(enabled);
}

void frmTunewell_Main::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// Minimising and restoring change no size, so the port step of a resize runs here for them.
void frmTunewell_Main::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) transfers_->windowResized(isMinimized());
}

// Lays out both charts and both grids, visible or not, in twips of the inner area; then the
// port is closed and, unless the window is minimised, configured again.
void frmTunewell_Main::Form_Resize() {
    const TwipScale scale(logicalDpiX(), logicalDpiY());
    const QSize inner = viewArea_->size();
    editor_->layOut(scale.toTwipsX(inner.width()), scale.toTwipsY(inner.height()), scale);
    fraProgress1->move((inner.width() - fraProgress1->width()) / 2,
                       (inner.height() - fraProgress1->height()) / 2);
    fraPortSelect->move((inner.width() - fraPortSelect->width()) / 2,
                        (inner.height() - fraPortSelect->height()) / 2);
    if (transfers_) transfers_->windowResized(isMinimized());
}

// Esc reaches the main window before the control that has the focus, which still gets it.
bool frmTunewell_Main::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this) {
            state_.UserAbort = true;
            editor_->hideValueLabels();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// An open table is offered to the buffer; then a buffer whose changes are in no file and
// no module is offered to a file, and the program ends only when that save happened.
bool frmTunewell_Main::Form_QueryUnload() {
    bool cancel = false;
    if (editor_->tableOpen()) {
        const PromptAnswer answer =
            prompts_.message("Save timing table before exiting?", PromptIcon::Exclamation,
                             PromptButtons::YesNoCancel, "Exit Program");
        // A table whose edits could not be saved keeps the window open, as Cancel does.
        cancel =
            answer == PromptAnswer::Cancel || (answer == PromptAnswer::Yes && !mnuSaveTbl_Click());
    }
    if (!cancel && baseline_.changed(state_)) {
        const PromptAnswer answer = prompts_.message(
            "The data buffer holds changes that are in no data file and not in the module. "
            "Save them to a file before exiting?",
            PromptIcon::Exclamation, PromptButtons::YesNoCancel, "Exit Program");
        cancel =
            answer == PromptAnswer::Cancel || (answer == PromptAnswer::Yes && !saveBufferToFile());
    }
    if (!cancel && baseline_.changed(state_)) keepRestorePoint("at exit");
    // Whatever the answer, the serial port is closed. Data files are read and written whole
    // inside their commands, so no file is left open here.
    transfers_->closePort();
    return !cancel;
}

void frmTunewell_Main::closeEvent(QCloseEvent* event) {
    // A transfer is not cut off: the window closes when it has ended.
    if (transfers_->running()) {
        closeRequested_ = true;
        event->ignore();
        return;
    }
    if (!Form_QueryUnload()) {
        event->ignore();
        return;
    }
    if (helpViewer_) helpViewer_->close();
    event->accept();
}

// Cancel at the question about an open table ends the command; the table stays open.
void frmTunewell_Main::mnuEditModParams_Click() {
    if (!mnuCloseTbl_Click()) return;
    frmModParams dialog(
        state_, prompts_,
        [this](bool tableSelected) {
            mnuNewTable->setEnabled(true);
            setTableCommandsEnabled(tableSelected);
        },
        this);
    runDialog_(dialog);
    updateStatusBar();
}

void frmTunewell_Main::mnuEditGPIOParams_Click() {
    if (!mnuCloseTbl_Click()) return;
    frmGPIOParams dialog(state_, prompts_, this);
    runDialog_(dialog);
}

void frmTunewell_Main::mnuNewTable_Click() {
    editor_->newTable();
}

void frmTunewell_Main::mnuEditTimingTable_Click() {
    editor_->editTable();
}

bool frmTunewell_Main::mnuSaveTbl_Click() {
    return editor_->saveTable();
}

bool frmTunewell_Main::mnuCloseTbl_Click() {
    return editor_->closeTable();
}

void frmTunewell_Main::mnuStepSizes_Click() {
    frmStepSizes dialog(editor_->stepSizes(), this);
    if (runDialog_(dialog) != QDialog::Accepted) return;
    editor_->setStepSizes(dialog.sizes());
    writeStepSizes(settings_, dialog.sizes());
}

void frmTunewell_Main::runWizard(TableKind kind) {
    WizardHost host{state_, prompts_, *editor_,
                    [this](const std::string& text) { setCaption(text); }};
    // The buffer as it was before the wizard's OK replaces its table, kept only then.
    const std::optional<EepromBytes> before =
        state_.BufferEmpty ? std::nullopt : std::optional(bufferAsKept());
    const auto run = [&](QDialog& wizard) {
        if (runDialog_(wizard) == QDialog::Accepted && before)
            keepImage(*before, "before New Timing Table", currentFile_);
    };
    // Cancel at the wizard's question about the open table ends the command.
    if (kind == TableKind::Table2D) {
        frmNew2DTable wizard(host, this);
        if (!wizard.cancelled()) run(wizard);
    } else {
        frmNew3DTable wizard(host, this);
        if (!wizard.cancelled()) run(wizard);
    }
    updateStatusBar();
}

void frmTunewell_Main::mnuHelpContents_Click() {
    if (!helpViewer_) {
        helpViewer_ = std::make_unique<HelpViewer>(this);
        helpViewer_->move(geometry().center() - helpViewer_->rect().center());
    }
    helpViewer_->openContents(programFolder_ + "/help/index.html");
}

// What a tuner checks before every transfer: the port and the device it opens, and what
// the buffer holds with its trigger timing and table.
void frmTunewell_Main::updateStatusBar() {
    if (!transfers_) return;
    const int number = transfers_->CommPortNumber;
    QString device = transfers_->ports().deviceFor(number);
    if (device == QLatin1String(PortDirectory::kSimulator))
        device = QString::fromLatin1(PortDirectory::kSimulatorName);
    lblStatusPort->setText(QStringLiteral("Com%1: %2")
                               .arg(number)
                               .arg(device.isEmpty() ? QStringLiteral("no device") : device));
    if (state_.BufferEmpty) {
        lblStatusBuffer->setText(QStringLiteral("Buffer empty"));
        return;
    }
    QString table = QStringLiteral("no timing table");
    if (state_.Table2DEnabled)
        table = QStringLiteral("2D table");
    else if (state_.Table3DEnabled)
        table = QStringLiteral("3D table, %1 sensor")
                    .arg(QString::fromStdString(mapSensorName(state_.MAPSensorBar)));
    QString source = state_.BufferStatus.empty() ? QStringLiteral("Buffer loaded")
                                                 : QString::fromStdString(state_.BufferStatus);
    if (baseline_.changed(state_)) source += QStringLiteral(" - not saved");
    if (moduleImage_ && *moduleImage_ == encodedImage(state_) && !editor_->hasUnsavedEdits())
        source += QStringLiteral("  |  module = buffer");
    lblStatusBuffer->setText(QStringLiteral("%1  |  trigger timing %2 deg  |  %3")
                                 .arg(source)
                                 .arg(state_.TrigTiming)
                                 .arg(table));
}

void frmTunewell_Main::mnuAbout_Click() {
    prompts_.message(aboutText(state_.CompanyInfo), PromptIcon::Information, PromptButtons::OK,
                     "About");
}

}  // namespace qz
