#pragma once

#include <QDialog>

#include "table/advance_steps.h"

class QDoubleSpinBox;
class QSettings;

namespace qz {

// Edit, Step Sizes: the fine and the coarse step of + and -, in degrees.
class frmStepSizes : public QDialog {
    Q_OBJECT
  public:
    frmStepSizes(const StepSizes& sizes, QWidget* parent = nullptr);
    StepSizes sizes() const;

    QDoubleSpinBox* txtFineStep;
    QDoubleSpinBox* txtCoarseStep;
};

// The step sizes kept for the user; the defaults where none are kept or a kept one is no
// step a table can take.
StepSizes readStepSizes(const QSettings& settings);
void writeStepSizes(QSettings& settings, const StepSizes& sizes);

}  // namespace qz
