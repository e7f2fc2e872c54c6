#include "params/gpio_params_dialog.h"

#include "widgets/field_leaving.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "widgets/centre_on_screen.h"

namespace qz {
namespace {

std::uint8_t& modeOf(ProgramState& state, GpioLine line) {
    switch (line) {
        case GpioLine::GPI1:
            return state.GPI1Mode;
        case GpioLine::GPIO2:
            return state.GPIO2Mode;
        case GpioLine::GPIO3:
            break;
    }
    return state.GPIO3Mode;
}

// The fields of each frame, top to bottom.
std::vector<const char*> fieldsOf(GpioLine line) {
    switch (line) {
        case GpioLine::GPI1:
            return {"txtGPI1OnTPS", "txtGPI1OffTPS", "txtGPI1Rtd"};
        case GpioLine::GPIO2:
            return {"txtGPIO2VSSFreq", "txtGPIO2BurnRPMLim", "txtGPIO2MinRPM", "txtGPIO2MaxRPM",
                    "txtGPIO2Delay"};
        case GpioLine::GPIO3:
            break;
    }
    return {"txtGPIO3MinRPM",      "txtGPIO3MaxRPM",    "txtGPIO3LaunchRPM",
            "txtGPIO3ShiftRPM1",   "txtGPIO3ShiftRPM2", "txtGPIO3ShiftRPM3",
            "txtGPIO3ShiftRPM4",   "txtGPIO3ShiftRPM5", "txtGPIO3ShortShiftRPM",
            "txtGPIO3ShiftDropRPM"};
}

// The text a field shows before the dialog loads its variable.
const char* designText(std::string_view name) {
    if (name == "txtGPI1OnTPS") return "4.2";
    if (name == "txtGPI1OffTPS") return "4.0";
    if (name == "txtGPI1Rtd") return "10";
    if (name == "txtGPIO2VSSFreq") return "150";
    if (name == "txtGPIO2MinRPM" || name == "txtGPIO2BurnRPMLim" || name == "txtGPIO3MinRPM")
        return "3000";
    if (name == "txtGPIO2MaxRPM" || name == "txtGPIO3MaxRPM") return "6000";
    if (name == "txtGPIO2Delay") return "0";
    if (name == "txtGPIO3ShortShiftRPM" || name == "txtGPIO3ShiftDropRPM") return "500";
    return "5000";
}

const GpioLine kLines[] = {GpioLine::GPI1, GpioLine::GPIO2, GpioLine::GPIO3};

}  // namespace

frmGPIOParams::frmGPIOParams(ProgramState& state, Prompts& prompts, QWidget* parent)
    : QDialog(parent), state_(state), prompts_(prompts) {
    setObjectName(QStringLiteral("frmGPIOParams"));
    setWindowTitle(QStringLiteral("Tunewell QZ - Edit General Purpose Input/Ouput Parameters"));
    setModal(true);
    fraGPI1Params = buildFrame(GpioLine::GPI1, "fraGPI1Params", "General Purpose Input 1");
    fraGPIO2Params =
        buildFrame(GpioLine::GPIO2, "fraGPIO2Params", "General Purpose Input/Output 2");
    frmGPIO3Params =
        buildFrame(GpioLine::GPIO3, "frmGPIO3Params", "General Purpose Input/Output 3");

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // A click on OK leaves the field being typed in to OK itself, which checks it first.
    cmdOK->setFocusPolicy(Qt::TabFocus);
    cmdOK->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmGPIOParams::cmdOK_Click);

    auto* layout = new QGridLayout(this);
    layout->addWidget(fraGPI1Params, 0, 0, Qt::AlignTop);
    layout->addWidget(fraGPIO2Params, 0, 1, 2, 1, Qt::AlignTop);
    layout->addWidget(frmGPIO3Params, 0, 2, 2, 1, Qt::AlignTop);
    layout->addWidget(cmdOK, 1, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Form_Load();
}

QGroupBox* frmGPIOParams::buildFrame(GpioLine line, const char* name, const char* caption) {
    auto* frame = new QGroupBox(QString::fromUtf8(caption), this);
    frame->setObjectName(QString::fromUtf8(name));
    auto* layout = new QVBoxLayout(frame);
    auto* functions = new QButtonGroup(frame);
    for (const GpioFunction& function : gpioFunctions(line)) {
        auto* button = new QRadioButton(QString::fromUtf8(function.caption), frame);
        functions->addButton(button);
        button->setObjectName(QString::fromUtf8(functionButtonName(line, function)));
        button->setChecked(function.code == 0);  // data log is selected in the design
        connect(button, &QRadioButton::clicked, this, [this, line, &function] {
            runTrapped(prompts_, [&] { functionClicked(line, function); });
        });
        layout->addWidget(button);
    }
    auto* form = new QFormLayout;
    for (const char* fieldName : fieldsOf(line)) {
        const GpioField& spec = gpioField(fieldName);
        auto* edit = new QLineEdit(QString::fromUtf8(designText(fieldName)), frame);
        edit->setObjectName(QString::fromUtf8(fieldName));
        edit->setMaximumWidth(80);
        edit->installEventFilter(this);
        auto* label = new QLabel(QString::fromUtf8(spec.caption), frame);
        label->setObjectName(QString::fromUtf8(spec.label));
        label->setBuddy(edit);
        form->addRow(label, edit);
        if (std::string_view(fieldName) == "txtGPIO2MaxRPM") {
            chkGPIO2OneShotDelay = new QCheckBox(frame);
            chkGPIO2OneShotDelay->setObjectName(QStringLiteral("chkGPIO2OneShotDelay"));
            auto* delayMode = new QLabel(QStringLiteral("One-Shot Delay"), frame);
            delayMode->setObjectName(QStringLiteral("lblGPIO2DelayMode"));
            delayMode->setBuddy(chkGPIO2OneShotDelay);
            form->addRow(delayMode, chkGPIO2OneShotDelay);
            connect(chkGPIO2OneShotDelay, &QCheckBox::clicked, this, [this](bool checked) {
                runTrapped(prompts_, [&] { state_.GPIO2OneShotDelay = checked; });
            });
        }
    }
    layout->addSpacing(8);
    layout->addLayout(form);
    layout->addStretch();
    return frame;
}

QLineEdit* frmGPIOParams::field(const char* name) const {
    return findChild<QLineEdit*>(QString::fromUtf8(name));
}

QRadioButton* frmGPIOParams::functionButton(const char* name) const {
    return findChild<QRadioButton*>(QString::fromUtf8(name));
}

void frmGPIOParams::enableFields(GpioLine line, int code) {
    const auto enabled = enabledControls(line, code);
    auto isEnabled = [&](std::string_view name) {
        return std::find(enabled.begin(), enabled.end(), name) != enabled.end();
    };
    for (const char* name : fieldsOf(line)) field(name)->setEnabled(isEnabled(name));
    if (line == GpioLine::GPIO2)
        chkGPIO2OneShotDelay->setEnabled(isEnabled("chkGPIO2OneShotDelay"));
}

void frmGPIOParams::functionClicked(GpioLine line, const GpioFunction& function) {
    std::uint8_t& mode = modeOf(state_, line);
    mode = withFunction(mode, function.code);
    enableFields(line, function.code);
}

// Sets every control from the variables, in this order. Selecting a button that was not
// selected runs its click behaviour, which stores the code the byte already has.
void frmGPIOParams::Form_Load() {
    ErrorTrap trap(prompts_);
    trap.run([&] {
        trap.step([&] { centreOnScreen(*this); });
        for (GpioLine line : kLines) {
            trap.step([&] {
                const GpioFunction& function = selectedFunction(line, modeOf(state_, line));
                QRadioButton* button = functionButton(functionButtonName(line, function));
                if (!button->isChecked()) {
                    button->setChecked(true);
                    functionClicked(line, function);
                }
                enableFields(line, function.code);
                if (line == GpioLine::GPIO2)
                    chkGPIO2OneShotDelay->setChecked(state_.GPIO2OneShotDelay);
            });
            trap.step([&] {
                for (const char* name : fieldsOf(line)) {
                    const GpioField& spec = gpioField(name);
                    field(name)->setText(
                        QString::fromStdString(spec.openingText(state_.*spec.variable)));
                }
            });
        }
    });
}

void frmGPIOParams::checkField(QLineEdit* edit) {
    runTrapped(prompts_, [&] {
        const GpioField& spec = gpioField(edit->objectName().toStdString());
        const FieldCheck check = checkGpioField(spec, edit->text().toStdString());
        if (check.message)
            prompts_.message(*check.message, PromptIcon::Exclamation, PromptButtons::OK,
                             spec.title);
        state_.*spec.variable = check.stored;
        edit->setText(QString::fromStdString(check.text));
        if (const GpioField* partner = partnerToFollow(spec, state_)) {
            state_.*partner->variable = check.stored;
            field(partner->name)->setText(edit->text());
        }
    });
}

// A field is checked whenever the focus moves from it to another control of the dialog; not
// when the whole window loses the focus, and not while the dialog is being closed.
bool frmGPIOParams::eventFilter(QObject* watched, QEvent* event) {
    if (QLineEdit* edit = fieldLeft(watched, event); edit && !closing_) checkField(edit);
    return QDialog::eventFilter(watched, event);
}

void frmGPIOParams::cmdOK_Click() {
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) checkField(edit);
    closing_ = true;
    accept();
}

// Closing by the window frame does not check the field being typed in.
void frmGPIOParams::closeEvent(QCloseEvent* event) {
    closing_ = true;
    QDialog::closeEvent(event);
}

void frmGPIOParams::reject() {
    closing_ = true;
    QDialog::reject();
}

}  // namespace qz
