#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <functional>

#include "core/program_state.h"
#include "core/prompts.h"
#include "params/slider_mappings.h"

namespace qz {

// The module parameters dialog. Every control changes its parameter variable at once; only
// the trigger timing waits for OK, which also moves both working tables into the window of
// the new trigger timing and marks the buffer loaded. Closing by the window frame keeps the
// immediate changes and drops the pending trigger timing.
class frmModParams : public QDialog {
    Q_OBJECT
  public:
    // `setTableCommands` enables New Timing Table and, when true, the three table commands
    // of the main window, or disables those three when false.
    frmModParams(ProgramState& state, Prompts& prompts, std::function<void(bool)> setTableCommands,
                 QWidget* parent = nullptr);

    int PendingTrigTiming = 0;

    QGroupBox* fraGeneralOptions;
    QCheckBox* chkHighSpeedDataLog;
    QCheckBox* chkStartRtd;
    QGroupBox* fraStartRtd;
    QSlider* sldStartRetard;
    QLabel* lblStartRtdVal;
    QGroupBox* fraCrankPulses;
    QSlider* sldCrankPulses;
    QLabel* lblCrankPulsesVal;
    QGroupBox* fraRetardComp;
    QSlider* sldRetardComp;
    QLabel* lblRetardCompVal;
    QRadioButton* optCyl8;
    QRadioButton* optCyl4;
    QRadioButton* optCyl6;
    QCheckBox* chkFixedMaxRPMLimit;
    QCheckBox* chkTimingDisable;
    QCheckBox* chkMultiSparkDisable;
    QCheckBox* chkRPMLimitDisable;
    QGroupBox* fraTimingTableOptions;
    QGroupBox* fraMAPSensor;
    QRadioButton* optMAP1Bar;
    QRadioButton* optMAP3Bar;
    QRadioButton* optMAP2Bar;
    QRadioButton* optDisableTimingTable;
    QRadioButton* opt3DTimingTable;
    QRadioButton* opt2DTimingTable;
    QGroupBox* fraMaxRPMLimit;
    QSlider* sldMaxRPMLimit;
    QLabel* lblMaxRPMLimitVal;
    QGroupBox* fraTrigTiming;
    QSlider* sldTrigTiming;
    QLabel* lblTrigTimingVal;
    QPushButton* cmdOK;

  private:
    void buildControls();
    void connectBehaviours();
    void Form_Load();
    void cmdOK_Click();

    // The click behaviour of a check box or option button.
    void clicked(QAbstractButton* button);
    // Sets a button during opening; its click behaviour runs when its state changes.
    void setButton(QAbstractButton* button, bool checked);
    // Places a slider from code, which does not run its behaviour, and writes its label.
    void placeSlider(QSlider* slider, ModuleSlider kind, int value);
    void sliderMoved(ModuleSlider kind, int position);
    void showCylinderButtons(bool visible);

    ProgramState& state_;
    Prompts& prompts_;
    std::function<void(bool)> setTableCommands_;
};

}  // namespace qz
