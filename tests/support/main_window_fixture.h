#pragma once

#include <memory>

#include "app/configuration.h"
#include "app/main_window.h"
#include "support/program_folder.h"
#include "support/scripted_prompts.h"

namespace qz::test {

// The real main window over a program folder of its own, with scripted prompts.
struct MainWindowFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    ProgramFolder folder;
    std::unique_ptr<frmTunewell_Main> window;
    std::vector<std::string> dialogsShown;  // object names, in order
    // What a test does with a dialog the window shows; by default it is closed unchanged.
    std::function<void(QDialog&)> onDialog;

    explicit MainWindowFixture(std::vector<std::string> companyInfo = defaultCompanyInfo()) {
        state.CompanyInfo = std::move(companyInfo);
        window = std::make_unique<frmTunewell_Main>(state, prompts, folder.path());
        window->setDialogRunner([this](QDialog& dialog) {
            dialogsShown.push_back(dialog.objectName().toStdString());
            if (onDialog) onDialog(dialog);
            return dialog.result();
        });
    }

    // Opens a table the way the editor does: its chart and grid become visible.
    void openTable2D() {
        window->show();
        window->views().chart2D().show();
        window->views().grid2D().show();
    }

    std::string caption() const { return window->windowTitle().toStdString(); }
};

}  // namespace qz::test
