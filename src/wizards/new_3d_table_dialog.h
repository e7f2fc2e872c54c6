#pragma once

#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

#include "wizards/wizard_host.h"

namespace qz {

// The 3D table wizard: a flat table at a base timing, kept within the timing range below the
// trigger timing. Update shows it on the main window; OK shows it, sets the trigger timing
// and closes.
class frmNew3DTable : public QDialog {
    Q_OBJECT
  public:
    frmNew3DTable(WizardHost host, QWidget* parent = nullptr);

    int WizTrigTiming = 0;
    int WizBaseTiming = 0;

    QGroupBox* fraTrigTiming;
    QSlider* sldTrigTiming;
    QLabel* lblTrigTimingVal;
    QGroupBox* fraBaseTmg;
    QSlider* sldBaseTmg;
    QLabel* lblBaseTmgVal;
    QPushButton* cmdUpdate;
    QPushButton* cmdOK;

    void CreateNewTable();
    // Whether Cancel at the question about the open table ended the command before the
    // wizard was shown.
    bool cancelled() const { return cancelled_; }

  private:
    void Form_Load();
    void sldTrigTiming_Change(int position);
    void sldBaseTmg_Change(int position);
    void showBase();

    WizardHost host_;
    bool cancelled_ = false;
};

}  // namespace qz
