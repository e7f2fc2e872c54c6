#include <QApplication>

#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "app/splash_window.h"
#include "core/program_state.h"

// Shows the splash window until it closes itself, then the main window until it is closed.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString programFolder = QCoreApplication::applicationDirPath();
    qz::ProgramState state;
    qz::QtPrompts prompts;
    {
        qz::frmTunewell_Splash splash(state, prompts, programFolder);
        splash.exec();
    }
    qz::frmTunewell_Main mainWindow(state, prompts, programFolder);
    mainWindow.show();
    return application.exec();
}
