#include <QMenuBar>

#include "app/main_window.h"

namespace qz {
namespace {

QMenu* menu(const char* name, const char* caption, QWidget* parent) {
    auto* result = new QMenu(QString::fromUtf8(caption), parent);
    result->setObjectName(QString::fromUtf8(name));
    return result;
}

QAction* item(QMenu* menu, const char* name, const char* caption) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

QAction* separator(QMenu* menu, const char* name) {
    QAction* action = menu->addSeparator();
    action->setObjectName(QString::fromUtf8(name));
    return action;
}

}  // namespace

// Captions and access keys as the program has always had them; of these no item has a
// shortcut (the table editor's keyboard commands, added after them, show theirs).
void frmTunewell_Main::createMenus() {
    mnuFile = menu("mnuFile", "&File", this);
    mnuNewTable = item(mnuFile, "mnuNewTable", "&New Timing Table");
    mnuOpenFile = item(mnuFile, "mnuOpenFile", "&Open File");
    mnuSaveFile = item(mnuFile, "mnuSaveFile", "&Save File");
    mnuCompareWith = item(mnuFile, "mnuCompareWith", "Compare &With...");
    mnuRestorePoints = item(mnuFile, "mnuRestorePoints", "&Restore Points...");
    mnuSep2 = separator(mnuFile, "mnuSep2");
    mnuPrintTable = item(mnuFile, "mnuPrintTable", "&Print Parameters And Timing Table");
    mnuPrintSetup = item(mnuFile, "mnuPrintSetup", "Print Set&up...");
    mnuSep3 = separator(mnuFile, "mnuSep3");
    mnuExit = item(mnuFile, "mnuExit", "E&xit");

    mnuEdit = menu("mnuEdit", "&Edit", this);
    mnuEditModParams = item(mnuEdit, "mnuEditModParams", "Edit &Module Parameters");
    mnuEditGPIOParams = item(mnuEdit, "mnuEditGPIOParams", "Edit &GPIO Parameters");
    mnuEditTimingTable = item(mnuEdit, "mnuEditTimingTable", "Edit &Timing Table");
    mnuSaveTbl = item(mnuEdit, "mnuSaveTbl", "Save Timing Table Edits To Buffer");
    mnuCloseTbl = item(mnuEdit, "mnuCloseTbl", "Close Timing Table");
    mnuSep4 = separator(mnuEdit, "mnuSep4");

    mnuComm = menu("mnuComm", "&Communications", this);
    mnuDownload = item(mnuComm, "mnuDownload", "&Download From EEPROM");
    mnuUpload = item(mnuComm, "mnuUpload", "&Upload To EEPROM");
    mnuPortSetup = item(mnuComm, "mnuPortSetup", "&Port Setup");

    mnuHelp = menu("mnuHelp", "&Help", this);
    mnuHelpContents = item(mnuHelp, "mnuHelpContents", "&Contents");
    mnuAbout = item(mnuHelp, "mnuAbout", "&About...");

    for (QMenu* visible : {mnuFile, mnuEdit, mnuComm, mnuHelp}) menuBar()->addMenu(visible);

    // The grids' context menus: top-level menus that are never shown in the menu bar.
    mnuPopUpEdit2D = menu("mnuPopUpEdit2D", "PopUp Edit 2D", this);
    mnuPopUpCopy2D = item(mnuPopUpEdit2D, "mnuPopUpCopy2D", "Copy");
    mnuPopUpPaste2D = item(mnuPopUpEdit2D, "mnuPopUpPaste2D", "Paste");
    mnuPopUpModify2D = item(mnuPopUpEdit2D, "mnuPopUpModify2D", "Modify");
    mnuPopUpEdit3D = menu("mnuPopUpEdit3D", "PopUp Edit 3D", this);
    mnuPopUpCopy3D = item(mnuPopUpEdit3D, "mnuPopUpCopy3D", "Copy");
    mnuPopUpPaste3D = item(mnuPopUpEdit3D, "mnuPopUpPaste3D", "Paste");
    mnuPopUpModify3D = item(mnuPopUpEdit3D, "mnuPopUpModify3D", "Modify");
    mnuPopUpPaste2D->setEnabled(false);
    mnuPopUpPaste3D->setEnabled(false);

    connect(mnuOpenFile, &QAction::triggered, this, &frmTunewell_Main::mnuOpenFile_Click);
    connect(mnuSaveFile, &QAction::triggered, this, &frmTunewell_Main::mnuSaveFile_Click);
    connect(mnuCompareWith, &QAction::triggered, this, &frmTunewell_Main::mnuCompareWith_Click);
    connect(mnuRestorePoints, &QAction::triggered, this, &frmTunewell_Main::mnuRestorePoints_Click);
    connect(mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(mnuEditModParams, &QAction::triggered, this, &frmTunewell_Main::mnuEditModParams_Click);
    connect(mnuEditGPIOParams, &QAction::triggered, this,
            &frmTunewell_Main::mnuEditGPIOParams_Click);
    connect(mnuPrintTable, &QAction::triggered, this, &frmTunewell_Main::mnuPrintTable_Click);
    connect(mnuPrintSetup, &QAction::triggered, this, &frmTunewell_Main::mnuPrintSetup_Click);
    connect(mnuNewTable, &QAction::triggered, this, &frmTunewell_Main::mnuNewTable_Click);
    connect(mnuEditTimingTable, &QAction::triggered, this,
            &frmTunewell_Main::mnuEditTimingTable_Click);
    connect(mnuSaveTbl, &QAction::triggered, this, &frmTunewell_Main::mnuSaveTbl_Click);
    connect(mnuCloseTbl, &QAction::triggered, this, &frmTunewell_Main::mnuCloseTbl_Click);
    connect(mnuDownload, &QAction::triggered, this, &frmTunewell_Main::mnuDownload_Click);
    connect(mnuUpload, &QAction::triggered, this, &frmTunewell_Main::mnuUpload_Click);
    connect(mnuPortSetup, &QAction::triggered, this, &frmTunewell_Main::mnuPortSetup_Click);
    connect(mnuHelpContents, &QAction::triggered, this, &frmTunewell_Main::mnuHelpContents_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmTunewell_Main::mnuAbout_Click);
    // Whatever a command changed, the status bar shows it afterwards.
    for (QAction* command : findChildren<QAction*>())
        connect(command, &QAction::triggered, this, &frmTunewell_Main::updateStatusBar);
    for (const auto& [tableKind, copy, paste, modify] :
         {std::tuple{TableKind::Table2D, mnuPopUpCopy2D, mnuPopUpPaste2D, mnuPopUpModify2D},
          {TableKind::Table3D, mnuPopUpCopy3D, mnuPopUpPaste3D, mnuPopUpModify3D}}) {
        const TableKind kind = tableKind;  // clang 14 cannot capture a structured binding
        connect(copy, &QAction::triggered, this, [this, kind] { editor_->Copy(kind); });
        connect(paste, &QAction::triggered, this, [this, kind] { editor_->Paste(kind); });
        connect(modify, &QAction::triggered, this, [this, kind] { editor_->Modify(kind); });
    }
}

void frmTunewell_Main::addTableCommands() {
    const TableEditor::Actions& table = editor_->actions();
    mnuEdit->addActions(
        {table.undo, table.redo, table.stepUp, table.stepDown, table.interpolate, table.smooth});
    mnuStepSizes = item(mnuEdit, "mnuStepSizes", "Step Si&zes...");
    connect(mnuStepSizes, &QAction::triggered, this, &frmTunewell_Main::mnuStepSizes_Click);
    for (QMenu* popUp : {mnuPopUpEdit2D, mnuPopUpEdit3D}) {
        popUp->addSeparator();
        popUp->addActions({table.undo, table.redo, table.interpolate, table.smooth});
    }
    for (QAction* command :
         {table.undo, table.redo, table.stepUp, table.stepDown, table.stepUpCoarse,
          table.stepDownCoarse, table.interpolate, table.smooth, mnuStepSizes})
        connect(command, &QAction::triggered, this, &frmTunewell_Main::updateStatusBar);
}

}  // namespace qz
