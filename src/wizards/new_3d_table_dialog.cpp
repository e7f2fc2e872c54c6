#include "wizards/new_3d_table_dialog.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "params/centre_on_screen.h"
#include "wizards/wizard_rules.h"

namespace qz {
namespace {

constexpr int kTop = 40;  // a slider at position p stands for 40 - p degrees

QGroupBox* sliderFrame(const char* frameName, const char* caption, QSlider*& slider,
                       const char* sliderName, QLabel*& label, const char* labelName,
                       QWidget* parent) {
    auto* frame = new QGroupBox(QString::fromLatin1(caption), parent);
    frame->setObjectName(QString::fromLatin1(frameName));
    slider = new QSlider(Qt::Vertical, frame);
    slider->setObjectName(QString::fromLatin1(sliderName));
    slider->setRange(0, kTop);
    slider->setPageStep(5);
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setTickPosition(QSlider::TicksBothSides);
    slider->setTickInterval(5);
    slider->setMinimumHeight(200);
    // The top is the largest value, so a groove filled from the top down to the thumb would
    // read upside down: leave it unfilled.
    QPalette palette = slider->palette();
    palette.setColor(QPalette::Highlight, palette.color(QPalette::Button));
    slider->setPalette(palette);
    label = new QLabel(frame);
    label->setObjectName(QString::fromLatin1(labelName));
    label->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(slider, 1, Qt::AlignHCenter);
    layout->addWidget(label);
    return frame;
}

QString degrees(int value) {
    return QString::fromStdString(numberText(value));
}

}  // namespace

frmNew3DTable::frmNew3DTable(WizardHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
    setObjectName(QStringLiteral("frmNew3DTable"));
    setWindowTitle(QStringLiteral("Tunewell QZ - New 3D Timing Table"));
    setModal(true);
    fraTrigTiming = sliderFrame("fraTrigTiming", "Trig Timing", sldTrigTiming, "sldTrigTiming",
                                lblTrigTimingVal, "lblTrigTimingVal", this);
    fraBaseTmg = sliderFrame("fraBaseTmg", "Base Timing", sldBaseTmg, "sldBaseTmg", lblBaseTmgVal,
                             "lblBaseTmgVal", this);
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
    if (!offerToSaveOpenTable(host_, host_.views.chart3D())) {
        cancelled_ = true;
        return;
    }
    host_.views.chart3D().hide();
    host_.views.grid3D().hide();
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
    host_.views.show3DTable();
}

}  // namespace qz
