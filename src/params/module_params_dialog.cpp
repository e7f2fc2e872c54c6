#include "params/module_params_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QScreen>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/error_trap.h"
#include "image/module_names.h"
#include "image/table_layout.h"
#include "widgets/centre_on_screen.h"
#include "widgets/slider_frame.h"

namespace qz {
namespace {

template <typename Control>
Control* named(Control* control, const char* name) {
    control->setObjectName(QString::fromUtf8(name));
    return control;
}

// A hidden control keeps its place, so the dialog does not jump when frames come and go.
void keepPlaceWhenHidden(QWidget* widget) {
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

// Option buttons that exclude each other. Qt's automatic exclusivity would also take in the
// buttons of a frame nested in the same container, so each group is explicit.
void exclusive(QWidget* owner, std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(owner);
    for (QRadioButton* button : buttons) group->addButton(button);
}

// A slider frame of the dialog: the slider's range and steps from its mapping, its place
// kept when the frame is hidden.
QGroupBox* sliderFrame(const char* frameName, const char* caption, QSlider*& slider,
                       const char* sliderName, QLabel*& label, const char* labelName,
                       ModuleSlider kind, int height, QWidget* parent) {
    const SliderMapping& mapping = sliderMapping(kind);
    const SliderFrame made =
        makeSliderFrame({frameName, caption, sliderName, labelName, mapping.minimum,
                         mapping.maximum, mapping.pageStep, height},
                        parent);
    slider = made.slider;
    label = made.label;
    label->setText(QStringLiteral("0"));
    keepPlaceWhenHidden(made.frame);
    return made.frame;
}

}  // namespace

frmModParams::frmModParams(ProgramState& state, Prompts& prompts,
                           std::function<void(bool)> setTableCommands, QWidget* parent)
    : QDialog(parent),
      state_(state),
      prompts_(prompts),
      setTableCommands_(std::move(setTableCommands)) {
    setObjectName(QStringLiteral("frmModParams"));
    setWindowTitle(QStringLiteral("Tunewell QZ - Edit Module Parameters"));
    setModal(true);
    buildControls();
    connectBehaviours();
    Form_Load();
}

void frmModParams::buildControls() {
    fraGeneralOptions =
        named(new QGroupBox(QStringLiteral("General Options"), this), "fraGeneralOptions");
    chkHighSpeedDataLog =
        named(new QCheckBox(QStringLiteral("High Speed Data Logging"), fraGeneralOptions),
              "chkHighSpeedDataLog");
    chkStartRtd = named(new QCheckBox(QStringLiteral("Automatic Start Retard"), fraGeneralOptions),
                        "chkStartRtd");
    optCyl8 =
        named(new QRadioButton(QStringLiteral("8 Cylinder Engine"), fraGeneralOptions), "optCyl8");
    optCyl4 =
        named(new QRadioButton(QStringLiteral("4 Cylinder Engine"), fraGeneralOptions), "optCyl4");
    optCyl6 =
        named(new QRadioButton(QStringLiteral("6 Cylinder Engine"), fraGeneralOptions), "optCyl6");
    chkFixedMaxRPMLimit =
        named(new QCheckBox(QStringLiteral("Fixed Maximum RPM Limit"), fraGeneralOptions),
              "chkFixedMaxRPMLimit");
    chkTimingDisable =
        named(new QCheckBox(QStringLiteral("Disable Timing Functions"), fraGeneralOptions),
              "chkTimingDisable");
    chkMultiSparkDisable =
        named(new QCheckBox(QStringLiteral("Disable Multi-Spark"), fraGeneralOptions),
              "chkMultiSparkDisable");
    chkRPMLimitDisable =
        named(new QCheckBox(QStringLiteral("Disable RPM Limit"), fraGeneralOptions),
              "chkRPMLimitDisable");
    fraStartRtd =
        sliderFrame("fraStartRtd", "Start Retard", sldStartRetard, "sldStartRetard", lblStartRtdVal,
                    "lblStartRtdVal", ModuleSlider::StartRetard, 120, fraGeneralOptions);
    fraCrankPulses = sliderFrame("fraCrankPulses", "Cranking Pulses", sldCrankPulses,
                                 "sldCrankPulses", lblCrankPulsesVal, "lblCrankPulsesVal",
                                 ModuleSlider::CrankPulses, 120, fraGeneralOptions);
    fraRetardComp = sliderFrame("fraRetardComp", "Retard Comp", sldRetardComp, "sldRetardComp",
                                lblRetardCompVal, "lblRetardCompVal", ModuleSlider::RetardComp, 120,
                                fraGeneralOptions);
    for (QWidget* cylinders : {static_cast<QWidget*>(optCyl8), static_cast<QWidget*>(optCyl4),
                               static_cast<QWidget*>(optCyl6)})
        keepPlaceWhenHidden(cylinders);
    optCyl8->setChecked(true);

    auto* switches = new QVBoxLayout;
    for (QWidget* control : std::initializer_list<QWidget*>{
             chkHighSpeedDataLog, chkStartRtd, chkFixedMaxRPMLimit, optCyl8, optCyl4, optCyl6,
             chkTimingDisable, chkMultiSparkDisable, chkRPMLimitDisable})
        switches->addWidget(control);
    switches->addStretch();
    auto* general = new QHBoxLayout(fraGeneralOptions);
    general->addLayout(switches);
    general->addWidget(fraStartRtd);
    general->addWidget(fraCrankPulses);
    general->addWidget(fraRetardComp);

    fraTimingTableOptions =
        named(new QGroupBox(QStringLiteral("Timing Table Options"), this), "fraTimingTableOptions");
    fraMAPSensor =
        named(new QGroupBox(QStringLiteral("MAP Sensor"), fraTimingTableOptions), "fraMAPSensor");
    auto sensorButton = [&](std::uint8_t code, const char* name) {
        return named(new QRadioButton(QString::fromStdString(mapSensorName(code)), fraMAPSensor),
                     name);
    };
    optMAP1Bar = sensorButton(0, "optMAP1Bar");
    optMAP3Bar = sensorButton(2, "optMAP3Bar");
    optMAP2Bar = sensorButton(1, "optMAP2Bar");
    optMAP1Bar->setChecked(true);
    auto* sensors = new QHBoxLayout(fraMAPSensor);
    sensors->addWidget(optMAP1Bar);
    sensors->addWidget(optMAP2Bar);
    sensors->addWidget(optMAP3Bar);
    keepPlaceWhenHidden(fraMAPSensor);
    optDisableTimingTable =
        named(new QRadioButton(QStringLiteral("Disable Timing Table"), fraTimingTableOptions),
              "optDisableTimingTable");
    opt3DTimingTable =
        named(new QRadioButton(QStringLiteral("3D Timing Table"), fraTimingTableOptions),
              "opt3DTimingTable");
    opt2DTimingTable =
        named(new QRadioButton(QStringLiteral("2D Timing Table"), fraTimingTableOptions),
              "opt2DTimingTable");
    optDisableTimingTable->setChecked(true);
    auto* kinds = new QVBoxLayout;
    kinds->addWidget(optDisableTimingTable);
    kinds->addWidget(opt2DTimingTable);
    kinds->addWidget(opt3DTimingTable);
    auto* tableOptions = new QHBoxLayout(fraTimingTableOptions);
    tableOptions->addLayout(kinds);
    tableOptions->addWidget(fraMAPSensor);

    fraMaxRPMLimit =
        sliderFrame("fraMaxRPMLimit", "RPM Limit", sldMaxRPMLimit, "sldMaxRPMLimit",
                    lblMaxRPMLimitVal, "lblMaxRPMLimitVal", ModuleSlider::MaxRPMLimit, 260, this);
    fraTrigTiming =
        sliderFrame("fraTrigTiming", "Trig Timing", sldTrigTiming, "sldTrigTiming",
                    lblTrigTimingVal, "lblTrigTimingVal", ModuleSlider::TrigTiming, 260, this);
    cmdOK = named(new QPushButton(QStringLiteral("OK"), this), "cmdOK");
    cmdOK->setDefault(true);

    exclusive(this, {optCyl8, optCyl4, optCyl6});
    exclusive(this, {optMAP1Bar, optMAP2Bar, optMAP3Bar});
    exclusive(this, {optDisableTimingTable, opt2DTimingTable, opt3DTimingTable});

    auto* layout = new QGridLayout(this);
    layout->addWidget(fraGeneralOptions, 0, 0);
    layout->addWidget(fraTimingTableOptions, 1, 0);
    layout->addWidget(fraMaxRPMLimit, 0, 1);
    layout->addWidget(fraTrigTiming, 0, 2);
    layout->addWidget(cmdOK, 1, 1, 1, 2, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void frmModParams::connectBehaviours() {
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        if (button == cmdOK) continue;
        connect(button, &QAbstractButton::clicked, this,
                [this, button] { runTrapped(prompts_, [&] { clicked(button); }); });
    }
    const std::pair<QSlider*, ModuleSlider> sliders[] = {
        {sldTrigTiming, ModuleSlider::TrigTiming},   {sldMaxRPMLimit, ModuleSlider::MaxRPMLimit},
        {sldCrankPulses, ModuleSlider::CrankPulses}, {sldRetardComp, ModuleSlider::RetardComp},
        {sldStartRetard, ModuleSlider::StartRetard},
    };
    for (const auto& [slider, kind] : sliders) {
        connect(slider, &QSlider::valueChanged, this, [this, kind = kind](int position) {
            runTrapped(prompts_, [&] { sliderMoved(kind, position); });
        });
    }
    connect(cmdOK, &QPushButton::clicked, this, &frmModParams::cmdOK_Click);
}

void frmModParams::showCylinderButtons(bool visible) {
    for (QRadioButton* button : {optCyl8, optCyl4, optCyl6}) button->setVisible(visible);
}

void frmModParams::clicked(QAbstractButton* button) {
    const bool on = button->isChecked();
    auto& s = state_;
    if (button == chkRPMLimitDisable)
        s.RPMLimitEnabled = !on;
    else if (button == chkMultiSparkDisable)
        s.MultiSparkEnabled = !on;
    else if (button == chkTimingDisable)
        s.TimingEnabled = !on;
    else if (button == chkHighSpeedDataLog)
        s.HighSpeedDataLog = on;
    else if (button == optCyl4)
        s.Cyl4Engine = true, s.Cyl6Engine = false;
    else if (button == optCyl6)
        s.Cyl4Engine = false, s.Cyl6Engine = true;
    else if (button == optCyl8)
        s.Cyl4Engine = false, s.Cyl6Engine = false;
    else if (button == optMAP1Bar)
        s.MAPSensorBar = 0;
    else if (button == optMAP2Bar)
        s.MAPSensorBar = 1;
    else if (button == optMAP3Bar)
        s.MAPSensorBar = 2;
    else if (button == opt2DTimingTable || button == opt3DTimingTable ||
             button == optDisableTimingTable) {
        s.Table2DEnabled = button == opt2DTimingTable;
        s.Table3DEnabled = button == opt3DTimingTable;
        fraTrigTiming->setVisible(button != optDisableTimingTable);
        fraMAPSensor->setVisible(button == opt3DTimingTable);
        if (setTableCommands_) setTableCommands_(button != optDisableTimingTable);
    } else if (button == chkFixedMaxRPMLimit) {
        s.FixedMaxRPMLimitEnabled = on;
        fraMaxRPMLimit->setVisible(on);
        showCylinderButtons(on);
        if (!on) {
            placeSlider(sldMaxRPMLimit, ModuleSlider::MaxRPMLimit, 3000);
            s.MaxRPMLimit = 3000;
        }
    } else if (button == chkStartRtd) {
        if (!on) s.StartRetard = 0;
        fraStartRtd->setVisible(on);
        placeSlider(sldStartRetard, ModuleSlider::StartRetard, s.StartRetard);
    }
}

void frmModParams::setButton(QAbstractButton* button, bool checked) {
    if (button->isChecked() == checked) return;
    button->setChecked(checked);
    clicked(button);
}

// The label first: a value no slider position can show ("Invalid property value") still
// reads as the variable holds it.
void frmModParams::placeSlider(QSlider* slider, ModuleSlider kind, int value) {
    auto* label = slider->parentWidget()->findChild<QLabel*>();
    label->setText(QString::fromStdString(sliderMapping(kind).label(value)));
    const int position = checkedPosition(kind, value);
    const QSignalBlocker quiet(slider);
    slider->setValue(position);
}

void frmModParams::sliderMoved(ModuleSlider kind, int position) {
    const int value = sliderMapping(kind).valueAt(position);
    auto& s = state_;
    switch (kind) {
        case ModuleSlider::TrigTiming:
            PendingTrigTiming = value;
            break;
        case ModuleSlider::MaxRPMLimit:
            s.MaxRPMLimit = static_cast<std::int16_t>(value);
            break;
        case ModuleSlider::CrankPulses:
            s.CrankPulses = static_cast<std::int16_t>(value);
            break;
        case ModuleSlider::RetardComp:
            s.RetardComp = static_cast<std::int16_t>(value);
            break;
        case ModuleSlider::StartRetard:
            s.StartRetard = static_cast<std::int16_t>(value);
            break;
    }
    auto* slider = qobject_cast<QSlider*>(sender());
    QLabel* label = slider ? slider->parentWidget()->findChild<QLabel*>() : nullptr;
    if (label) label->setText(QString::fromStdString(sliderMapping(kind).label(value)));
}

// Sets every control from the parameter variables, in this order.
void frmModParams::Form_Load() {
    ErrorTrap trap(prompts_);
    auto& s = state_;
    trap.run([&] {
        trap.step([&] { centreOnScreen(*this); });
        trap.step([&] {
            setButton(chkRPMLimitDisable, !s.RPMLimitEnabled);
            setButton(chkMultiSparkDisable, !s.MultiSparkEnabled);
            setButton(chkTimingDisable, !s.TimingEnabled);
        });
        trap.step([&] {
            // 3D wins when both flags are set.
            QRadioButton* kind = s.Table3DEnabled   ? opt3DTimingTable
                                 : s.Table2DEnabled ? opt2DTimingTable
                                                    : optDisableTimingTable;
            setButton(kind, true);
            fraTrigTiming->setVisible(kind != optDisableTimingTable);
            fraMAPSensor->setVisible(kind == opt3DTimingTable);
        });
        trap.step([&] {
            QRadioButton* const sensors[] = {optMAP1Bar, optMAP2Bar, optMAP3Bar};
            setButton(sensors[mapSensorBars(s.MAPSensorBar) - 1], true);
        });
        trap.step([&] {
            if (!s.FixedMaxRPMLimitEnabled) {
                setButton(chkFixedMaxRPMLimit, false);
                fraMaxRPMLimit->hide();
                placeSlider(sldMaxRPMLimit, ModuleSlider::MaxRPMLimit, 3000);
                s.MaxRPMLimit = 3000;
                showCylinderButtons(false);
            } else {
                setButton(chkFixedMaxRPMLimit, true);
                fraMaxRPMLimit->show();
                placeSlider(sldMaxRPMLimit, ModuleSlider::MaxRPMLimit, s.MaxRPMLimit);
                showCylinderButtons(true);
            }
        });
        trap.step([&] {
            setButton(s.Cyl6Engine ? optCyl6 : s.Cyl4Engine ? optCyl4 : optCyl8, true);
        });
        trap.step([&] { placeSlider(sldCrankPulses, ModuleSlider::CrankPulses, s.CrankPulses); });
        trap.step([&] { placeSlider(sldRetardComp, ModuleSlider::RetardComp, s.RetardComp); });
        trap.step([&] { placeSlider(sldStartRetard, ModuleSlider::StartRetard, s.StartRetard); });
        trap.step([&] { setButton(chkStartRtd, s.StartRetard > 0); });
        trap.step([&] { fraStartRtd->setVisible(s.StartRetard > 0); });
        trap.step([&] { setButton(chkHighSpeedDataLog, s.HighSpeedDataLog); });
        trap.step([&] {
            PendingTrigTiming = s.TrigTiming;
            placeSlider(sldTrigTiming, ModuleSlider::TrigTiming, PendingTrigTiming);
        });
    });
}

// OK has no trap of its own: nothing in it can fail.
void frmModParams::cmdOK_Click() {
    clampTablesToTriggerTiming(state_, PendingTrigTiming);
    state_.BufferEmpty = false;
    state_.TrigTiming = static_cast<std::int16_t>(PendingTrigTiming);
    accept();
}

}  // namespace qz
