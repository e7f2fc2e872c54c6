#include "table/step_sizes_dialog.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSettings>

#include "core/module_data.h"

namespace qz {
namespace {

constexpr auto kFineKey = "TableEditor/FineStep";
constexpr auto kCoarseKey = "TableEditor/CoarseStep";
// The smallest step a spin box offers; a step finer than the module's resolution still moves
// a cell by one stored byte.
constexpr double kSmallest = 0.01;

QDoubleSpinBox* stepBox(const char* name, double value, QWidget* parent) {
    auto* box = new QDoubleSpinBox(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setDecimals(2);
    box->setRange(kSmallest, kTimingRange);
    box->setSingleStep(0.1);
    box->setSuffix(QStringLiteral(" degrees"));
    box->setValue(value);
    return box;
}

double kept(const QSettings& settings, const char* key, double fallback) {
    bool number = false;
    const double value = settings.value(QString::fromUtf8(key)).toDouble(&number);
    return number && value >= kSmallest && value <= kTimingRange ? value : fallback;
}

}  // namespace

frmStepSizes::frmStepSizes(const StepSizes& sizes, QWidget* parent)
    : QDialog(parent),
      txtFineStep(stepBox("txtFineStep", sizes.fine, this)),
      txtCoarseStep(stepBox("txtCoarseStep", sizes.coarse, this)) {
    setObjectName(QStringLiteral("frmStepSizes"));
    setWindowTitle(QStringLiteral("Step Sizes"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QFormLayout(this);
    layout->addRow(QStringLiteral("Step (+ and -):"), txtFineStep);
    layout->addRow(QStringLiteral("Coarse step (Ctrl with + and -):"), txtCoarseStep);
    layout->addRow(buttons);
}

StepSizes frmStepSizes::sizes() const {
    return {txtFineStep->value(), txtCoarseStep->value()};
}

StepSizes readStepSizes(const QSettings& settings) {
    const StepSizes defaults;
    return {kept(settings, kFineKey, defaults.fine), kept(settings, kCoarseKey, defaults.coarse)};
}

void writeStepSizes(QSettings& settings, const StepSizes& sizes) {
    settings.setValue(QString::fromUtf8(kFineKey), sizes.fine);
    settings.setValue(QString::fromUtf8(kCoarseKey), sizes.coarse);
}

}  // namespace qz
