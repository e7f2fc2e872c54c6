#include "app/main_window.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QVBoxLayout>

#include "app/configuration.h"
#include "core/error_trap.h"
#include "core/program_error.h"
#include "image/eeprom_buffer.h"
#include "params/gpio_params_dialog.h"
#include "params/module_params_dialog.h"

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
    views_ = std::make_unique<TableViews>(state_, prompts_, programFolder_, viewArea_,
                                          [this] { disablePasteItems(); });
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
        views_->setUpAtStartup(QStringLiteral("Form Load"));
        state_.AppTitle = windowTitle().toStdString();
        trap.step([&] { setCaption(listItem(state_.CompanyInfo, 1) + " " + state_.AppTitle); });
        state_.BufferStatus.clear();
        state_.FirmwareID.clear();
        static_cast<ParameterVariables&>(state_) = ParameterVariables{};
        mnuNewTable->setEnabled(true);
        setTableCommandsEnabled(false);
        state_.ClipText.clear();
        state_.ClipColSpan = 0;
        state_.ClipRowSpan = 0;
        disablePasteItems();
        state_.ModuleType = "QZ-1";
        QGuiApplication::clipboard()->clear();
    });
}

void frmTunewell_Main::setCaption(const std::string& text) {
    setWindowTitle(QString::fromStdString(text));
}

void frmTunewell_Main::showBufferStatusCaption() {
    setCaption(state_.AppTitle + " - " + state_.BufferStatus);
}

void frmTunewell_Main::setTableCommandsEnabled(bool enabled) {
    for (QAction* command : {mnuEditTimingTable, mnuCloseTbl, mnuSaveTbl})
        command->setEnabled(enabled);
}

void frmTunewell_Main::disablePasteItems() {
    mnuPopUpPaste2D->setEnabled(false);
    mnuPopUpPaste3D->setEnabled(false);
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
    views_->layOut(scale.toTwipsX(inner.width()), scale.toTwipsY(inner.height()), scale);
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
            views_->hideValueLabels();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmTunewell_Main::Form_QueryUnload() {
    bool cancel = false;
    if (views_->chart2D().isVisible() || views_->chart3D().isVisible()) {
        const PromptAnswer answer =
            prompts_.message("Save timing table before exiting?", PromptIcon::Exclamation,
                             PromptButtons::YesNoCancel, "Exit Program");
        if (answer == PromptAnswer::Yes) mnuSaveTbl_Click();
        cancel = answer == PromptAnswer::Cancel;
    }
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

// The dialogs open whatever the answer to closing the table was.
void frmTunewell_Main::mnuEditModParams_Click() {
    mnuCloseTbl_Click();
    frmModParams dialog(
        state_, prompts_,
        [this](bool tableSelected) {
            mnuNewTable->setEnabled(true);
            setTableCommandsEnabled(tableSelected);
        },
        this);
    runDialog_(dialog);
}

void frmTunewell_Main::mnuEditGPIOParams_Click() {
    mnuCloseTbl_Click();
    frmGPIOParams dialog(state_, prompts_, this);
    runDialog_(dialog);
}

void frmTunewell_Main::mnuSaveTbl_Click() {
    views_->saveTable();
}

void frmTunewell_Main::mnuCloseTbl_Click() {
    views_->closeTable();
}

void frmTunewell_Main::mnuHelpContents_Click() {
    if (!helpViewer_) {
        helpViewer_ = std::make_unique<HelpViewer>(this);
        helpViewer_->move(geometry().center() - helpViewer_->rect().center());
    }
    helpViewer_->openContents(programFolder_ + "/help/index.html");
}

void frmTunewell_Main::mnuAbout_Click() {
    prompts_.message(aboutText(state_.CompanyInfo), PromptIcon::Information, PromptButtons::OK,
                     "About");
}

}  // namespace qz
