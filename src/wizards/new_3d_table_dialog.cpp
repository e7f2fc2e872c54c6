#include "wizards/new_3d_table_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "widgets/centre_on_screen.h"
#include "widgets/slider_frame.h"
#include "widgets/window_title.h"
#include "wizards/wizard_rules.h"

namespace qz {
namespace {

constexpr int kTop = 40;  // a slider at position p stands for 40 - p degrees

QString degrees(int value) {
    return QString::fromStdString(numberText(value));
}

}  // namespace

frmNew3DTable::frmNew3DTable(WizardHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
    setObjectName(QStringLiteral("frmNew3DTable"));
    setWindowTitle(QStringLiteral("Tunewell QZ - New 3D Timing Table"));
    setModal(true);
    const SliderFrame trigger = makeSliderFrame(
        {"fraTrigTiming", "Trig Timing", "sldTrigTiming", "lblTrigTimingVal", 0, kTop, 5, 200},
        this);
    const SliderFrame base = makeSliderFrame(
        {"fraBaseTmg", "Base Timing", "sldBaseTmg", "lblBaseTmgVal", 0, kTop, 5, 200}, this);
    fraTrigTiming = trigger.frame;
    sldTrigTiming = trigger.slider;
    lblTrigTimingVal = trigger.label;
    fraBaseTmg = base.frame;
    sldBaseTmg = base.slider;
    lblBaseTmgVal = base.label;
    cmdUpdate = new QPushButton(QStringLiteral("Update"), this);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    for (QPushButton* button : {cmdUpdate, cmdOK}) button->setAutoDefault(false);
    auto* sliders = new QHBoxLayout;
    sliders->addWidget(fraTrigTiming);
    sliders->addWidget(fraBaseTmg);
    auto* buttons = new QVBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdOK);
    sliders->addLayout(buttons);
    setLayout(sliders);
    keepTitleWhole(*this);
    setTabOrder(sldTrigTiming, sldBaseTmg);
    setTabOrder(sldBaseTmg, cmdUpdate);
    setTabOrder(cmdUpdate, cmdOK);
    Form_Load();
    connect(sldTrigTiming, &QSlider::valueChanged, this, &frmNew3DTable::sldTrigTiming_Change);
    connect(sldBaseTmg, &QSlider::valueChanged, this, &frmNew3DTable::sldBaseTmg_Change);
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { CreateNewTable(); });
    connect(cmdOK, &QPushButton::clicked, this, [this] {
        CreateNewTable();
        host_.state.TrigTiming = static_cast<std::int16_t>(WizTrigTiming);
        accept();
    });
}

// Cancel at the question ends the command: the open table stays on show with its edits, and
// the wizard is not shown.
void frmNew3DTable::Form_Load() {
    centreOnScreen(*this);
    if (!offerToSaveOpenTable(host_, TableKind::Table3D)) {
        cancelled_ = true;
        return;
    }
    host_.editor.hide(TableKind::Table3D);
    WizTrigTiming = host_.state.TrigTiming;
    sldTrigTiming->setValue(kTop - WizTrigTiming);
    lblTrigTimingVal->setText(degrees(WizTrigTiming));
    WizBaseTiming = initialBaseTiming(WizTrigTiming);
    showBase();
    if (host_.setCaption) host_.setCaption(host_.state.AppTitle);
}

void frmNew3DTable::showBase() {
    const QSignalBlocker quiet(sldBaseTmg);
    sldBaseTmg->setValue(kTop - WizBaseTiming);
    lblBaseTmgVal->setText(degrees(WizBaseTiming));
}

void frmNew3DTable::sldBaseTmg_Change(int position) {
    WizBaseTiming = keptBaseTiming(kTop - position, WizTrigTiming);
    showBase();
}

void frmNew3DTable::sldTrigTiming_Change(int position) {
    WizTrigTiming = kTop - position;
    lblTrigTimingVal->setText(degrees(WizTrigTiming));
    WizBaseTiming = keptBaseTiming(WizBaseTiming, WizTrigTiming);
    showBase();
}

void frmNew3DTable::CreateNewTable() {
    host_.state.Table3D = flatTable(WizBaseTiming);
    host_.editor.showNewTable(TableKind::Table3D);
}

}  // namespace qz
