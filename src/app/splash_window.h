#pragma once

#include <QDialog>
#include <QLabel>
#include <QTimer>

#include "core/program_state.h"
#include "core/prompts.h"

namespace qz {

// The splash window: the company label branded by the configuration file, the logo, the
// product name, version and author's notice. It reads the configuration file when it
// loads and closes itself 4000 milliseconds later.
class frmTunewell_Splash : public QDialog {
    Q_OBJECT
  public:
    frmTunewell_Splash(ProgramState& state, Prompts& prompts, const QString& programFolder,
                       QWidget* parent = nullptr);

    QLabel* lblCompanyName;
    QLabel* imgLogo;
    QLabel* lblProductName;
    QLabel* lblVersion;
    QLabel* lblAuthorNotice;
    QTimer* tmrSplashUnload;

  private:
    void Form_Load(ProgramState& state, Prompts& prompts, const QString& programFolder);
};

}  // namespace qz
