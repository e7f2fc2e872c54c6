#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>

#include "wizards/wizard_host.h"
#include "wizards/wizard_rules.h"

namespace qz {

// The 2D table wizard: an advance curve from a trigger timing, a start and a final RPM and
// the advance at each. Update shows the table it makes on the main window; OK does that
// too and closes. Each box is checked and corrected when it is left.
class frmNew2DTable : public QDialog {
    Q_OBJECT
  public:
    frmNew2DTable(WizardHost host, QWidget* parent = nullptr);

    Curve2D values;  // WizTrigTiming, WizStartRPM, WizFinalRPM, WizStartTiming, WizFinalTiming

    QGroupBox* fraPWMParams;
    QLineEdit* txtTrigTimingVal;
    QLineEdit* txtStartRPMVal;
    QLineEdit* txtFinalRPMVal;
    QLineEdit* txtStartTimingVal;
    QLineEdit* txtFinalTimingVal;
    QPushButton* cmdUpdate;
    QPushButton* cmdOK;

    void CreateNewTable();
    // Whether Cancel at the question about the open table ended the command before the
    // wizard was shown.
    bool cancelled() const { return cancelled_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void checkField(QLineEdit* box);
    void showValues();
    QLineEdit* box(CurveField field) const;

    WizardHost host_;
    std::array<QLineEdit*, 5> boxes_{};
    bool closing_ = false;
    bool cancelled_ = false;
    // Acts on the values as they are once the box being typed in is checked.
    void actOnCheckedValues(bool close);
};

}  // namespace qz
