#include <QApplication>

#include "app/main_window.h"
#include "app/qt_prompts.h"
#include "app/splash_window.h"
#include "core/program_state.h"
#include "files/program_folder.h"

// Shows the splash window until it closes itself, then the main window until it is closed.
// A data file named on the command line (as the desktop's "Open With" passes it) is opened
// after the splash as Open File opens one.
int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const QString programFolder = qz::findProgramFolder(QCoreApplication::applicationDirPath());
    const QStringList arguments = QCoreApplication::arguments();
    qz::ProgramState state;
    qz::QtPrompts prompts;
    {
        qz::frmTunewell_Splash splash(state, prompts, programFolder);
        splash.exec();
    }
    qz::frmTunewell_Main mainWindow(state, prompts, programFolder);
    mainWindow.show();
    if (arguments.size() > 1) mainWindow.openDataFile(arguments.at(1).toStdString());
    return application.exec();
}
