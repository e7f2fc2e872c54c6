#include "wizards/new_2d_table_dialog.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QVBoxLayout>

#include "widgets/centre_on_screen.h"
#include "widgets/field_leaving.h"
#include "widgets/window_title.h"

namespace qz {
namespace {

constexpr CurveField kFields[] = {CurveField::TrigTiming, CurveField::StartRpm,
                                  CurveField::FinalRpm, CurveField::StartTiming,
                                  CurveField::FinalTiming};

}  // namespace

frmNew2DTable::frmNew2DTable(WizardHost host, QWidget* parent)
    : QDialog(parent), host_(std::move(host)) {
    setObjectName(QStringLiteral("frmNew2DTable"));
    setWindowTitle(QStringLiteral("Tunewell QZ - New 2D Timing Table"));
    setModal(true);
    fraPWMParams = new QGroupBox(QStringLiteral("Advance Curve Parameters"), this);
    fraPWMParams->setObjectName(QStringLiteral("fraPWMParams"));
    auto* grid = new QGridLayout(fraPWMParams);
    const struct {
        QLineEdit** box;
        const char* name;
        const char* labelName;
        const char* caption;
    } rows[] = {
        {&txtTrigTimingVal, "txtTrigTimingVal", "lblCKPTimingVal", "Trigger Timing (Deg)"},
        {&txtStartRPMVal, "txtStartRPMVal", "lblStartRPMVal", "Start RPM"},
        {&txtFinalRPMVal, "txtFinalRPMVal", "lblFinalRPMVal", "Final RPM"},
        {&txtStartTimingVal, "txtStartTimingVal", "lblStartAdvanceVal", "Start Advance (Deg)"},
        {&txtFinalTimingVal, "txtFinalTimingVal", "lblFinalAdvanceVal", "Final Advance (Deg)"},
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromLatin1(r.caption), fraPWMParams);
        label->setObjectName(QString::fromLatin1(r.labelName));
        *r.box = new QLineEdit(fraPWMParams);
        (*r.box)->setObjectName(QString::fromLatin1(r.name));
        (*r.box)->setAlignment(Qt::AlignRight);
        (*r.box)->setMaximumWidth(80);
        (*r.box)->installEventFilter(this);
        grid->addWidget(label, row, 0);
        grid->addWidget(*r.box, row, 1);
        boxes_[static_cast<std::size_t>(row)] = *r.box;
        ++row;
    }
    cmdUpdate = new QPushButton(QStringLiteral("Update"), this);
    cmdUpdate->setObjectName(QStringLiteral("cmdUpdate"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    // A click on a button leaves the focus in the box being typed in, so the box is checked
    // by the button itself, and a correction's message does not swallow the click.
    for (QPushButton* button : {cmdUpdate, cmdOK}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdUpdate);
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fraPWMParams);
    layout->addLayout(buttons);
    keepTitleWhole(*this);
    setTabOrder(txtTrigTimingVal, txtStartRPMVal);
    setTabOrder(txtStartRPMVal, txtFinalRPMVal);
    setTabOrder(txtFinalRPMVal, txtStartTimingVal);
    setTabOrder(txtStartTimingVal, txtFinalTimingVal);
    setTabOrder(txtFinalTimingVal, cmdUpdate);
    setTabOrder(cmdUpdate, cmdOK);
    connect(cmdUpdate, &QPushButton::clicked, this, [this] { actOnCheckedValues(false); });
    connect(cmdOK, &QPushButton::clicked, this, [this] { actOnCheckedValues(true); });
    Form_Load();
}

QLineEdit* frmNew2DTable::box(CurveField field) const {
    return boxes_[static_cast<std::size_t>(field)];
}

void frmNew2DTable::showValues() {
    for (CurveField field : kFields)
        box(field)->setText(QString::fromStdString(curveFieldText(values, field)));
}

void frmNew2DTable::Form_Load() {
    values = initialCurve(host_.state.TrigTiming);
    showValues();
    centreOnScreen(*this);
    if (!offerToSaveOpenTable(host_, TableKind::Table2D)) {
        cancelled_ = true;
        return;
    }
    host_.editor.hide(TableKind::Table2D);
    if (host_.setCaption) host_.setCaption(host_.state.AppTitle);
}

// A box is checked when it is left: moving to another box or pressing a button.
bool frmNew2DTable::eventFilter(QObject* watched, QEvent* event) {
    if (QLineEdit* edit = fieldLeft(watched, event); edit && !closing_) checkField(edit);
    return QDialog::eventFilter(watched, event);
}

void frmNew2DTable::checkField(QLineEdit* edit) {
    const auto at = std::find(boxes_.begin(), boxes_.end(), edit);
    if (at == boxes_.end()) return;
    const CurveField field = kFields[at - boxes_.begin()];
    for (const WizardMessage& message : enterCurveField(values, field, edit->text().toStdString()))
        host_.prompts.message(message.text, PromptIcon::Exclamation, PromptButtons::OK,
                              message.title);
    showValues();
}

void frmNew2DTable::actOnCheckedValues(bool close) {
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) checkField(edit);
    CreateNewTable();
    if (!close) return;
    closing_ = true;
    accept();
}

void frmNew2DTable::CreateNewTable() {
    const std::optional<Table2DCells> table = generateCurve(values);
    if (!table) {
        host_.prompts.message(kStartAboveFinalMessage, PromptIcon::Exclamation, PromptButtons::OK,
                              "New Timing Table Wizard");
        return;
    }
    host_.state.Table2D = *table;
    host_.editor.showNewTable(TableKind::Table2D);
    host_.state.TrigTiming = static_cast<std::int16_t>(values.trigTiming);
}

}  // namespace qz
