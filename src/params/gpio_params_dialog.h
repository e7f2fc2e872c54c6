#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/program_state.h"
#include "core/prompts.h"
#include "params/gpio_fields.h"

namespace qz {

// The general purpose I/O parameters dialog: the function of each of the three lines and the
// numbers it needs. A function button stores its code at once; a number field is checked and
// stored when it is left, OK included.
class frmGPIOParams : public QDialog {
    Q_OBJECT
  public:
    frmGPIOParams(ProgramState& state, Prompts& prompts, QWidget* parent = nullptr);

    QGroupBox* fraGPI1Params;
    QGroupBox* fraGPIO2Params;
    QGroupBox* frmGPIO3Params;
    QCheckBox* chkGPIO2OneShotDelay;
    QPushButton* cmdOK;

    QLineEdit* field(const char* name) const;
    QRadioButton* functionButton(const char* name) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

  private:
    QGroupBox* buildFrame(GpioLine line, const char* name, const char* caption);
    void Form_Load();
    void functionClicked(GpioLine line, const GpioFunction& function);
    void enableFields(GpioLine line, int code);
    void checkField(QLineEdit* edit);
    void cmdOK_Click();

    ProgramState& state_;
    Prompts& prompts_;
    bool closing_ = false;
};

}  // namespace qz
