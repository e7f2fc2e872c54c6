#pragma once

#include <memory>

#include "app/main_window.h"
#include "files/configuration.h"
#include "files/restore_points.h"
#include "support/named.h"
#include "support/program_folder.h"
#include "support/scripted_prompts.h"
#include "support/temp_folder.h"
#include "table/timing_charts.h"
#include "table/timing_grid.h"

namespace qz::test {

// The real main window over a program folder of its own, with scripted prompts.
struct MainWindowFixture {
    ProgramState state;
    ScriptedPrompts prompts;
    ProgramFolder folder;
    TempFolder history;  // the window's restore points
    std::unique_ptr<frmTunewell_Main> window;
    std::vector<std::string> dialogsShown;  // object names, in order
    // What a test does with a dialog the window shows; by default it is closed unchanged.
    std::function<void(QDialog&)> onDialog;

    // The answers are for the messages of the start-up; the folder lacks the files named.
    explicit MainWindowFixture(std::vector<std::string> companyInfo = defaultCompanyInfo(),
                               std::vector<PromptAnswer> atStartUp = {}, QStringList without = {})
        : folder(without) {
        state.CompanyInfo = std::move(companyInfo);
        answer(atStartUp);
        qputenv("QZ_RESTORE_POINTS", history.folderPath().toLocal8Bit());
        window = std::make_unique<frmTunewell_Main>(state, prompts, folder.path());
        window->setDialogRunner([this](QDialog& dialog) {
            dialogsShown.push_back(dialog.objectName().toStdString());
            if (onDialog) onDialog(dialog);
            return dialog.result();
        });
    }

    void answer(const std::vector<PromptAnswer>& answers) {
        for (PromptAnswer a : answers) prompts.answer(a);
    }
    TableEditor& editor() const { return window->editor(); }
    TimingGrid& grid(TableKind kind) const {
        return named<TimingGrid>(*window,
                                 kind == TableKind::Table3D ? "VSFlexGrid2" : "VSFlexGrid1");
    }
    LineChart& chart2D() const { return named<LineChart>(*window, "Chart2D1"); }
    SurfaceChart& chart3D() const { return named<SurfaceChart>(*window, "Chart3D1"); }

    // Opens the working 2D table of a loaded buffer, as Edit Timing Table does.
    void openTable2D() {
        window->show();
        state.Table2DEnabled = true;
        editor().editTable();
    }

    std::vector<RestorePoint> restorePoints() const {
        return RestorePoints(history.folderPath()).list();
    }

    std::string caption() const { return window->windowTitle().toStdString(); }
};

}  // namespace qz::test
