#include <QFileInfo>
#include <QStatusBar>

#include "app/main_window.h"
#include "core/error_trap.h"
#include "files/data_file.h"
#include "files/file_dialogs.h"
#include "history/compare_source_dialog.h"
#include "history/compare_window.h"
#include "history/restore_points_window.h"
#include "image/parameter_catalog.h"

namespace qz {
namespace {

constexpr const char* kCompareTitle = "Compare With";

}  // namespace

void frmTunewell_Main::keepRestorePoint(const std::string& origin) {
    if (!state_.BufferEmpty) keepImage(bufferAsKept(), origin, currentFile_);
}

void frmTunewell_Main::keepImage(const EepromBytes& image, const std::string& origin,
                                 const std::string& file) {
    try {
        restorePoints_.keep(image, QString::fromStdString(origin), QString::fromStdString(file),
                            QString::fromStdString(state_.FirmwareID));
    } catch (const ProgramError& error) {
        statusBar()->showMessage(QStringLiteral("Restore point not kept: %1 %2")
                                     .arg(QString::fromStdString(error.description()),
                                          QString::fromStdString(error.detail())),
                                 15000);
    }
}

// Unchanged, the buffer is kept byte for byte as the file or the module held it.
EepromBytes frmTunewell_Main::bufferAsKept() const {
    return baseline_.changed(state_) ? encodedImage(state_) : state_.EEPROMBuffer;
}

ModuleData frmTunewell_Main::bufferAsSaved() const {
    ModuleData tune = editor_->tablesOnShow();
    if (const auto kind = editor_->openKind())
        kind == TableKind::Table2D ? encodeTable2D(tune) : encodeTable3D(tune);
    return decodedImage(encodedImage(tune));
}

void frmTunewell_Main::mnuRestorePoints_Click() {
    RestorePointsWindow window(
        restorePoints_.list(),
        [here = state_.BufferEmpty ? std::optional<ModuleData>()
                                   : bufferAsSaved()](const RestorePoint& point) {
            if (!here) return QStringLiteral("(buffer empty)");
            try {
                return QString::fromStdString(differenceCounts(
                    compareTunes(*here, decodedImage(RestorePoints::read(point)))));
            } catch (const ProgramError&) {
                return QStringLiteral("(unreadable)");
            }
        },
        this);
    if (runDialog_(window) != QDialog::Accepted) return;
    const auto point = window.chosenPoint();
    if (!point) return;
    if (window.choice() == RestorePointsWindow::Choice::Restore) {
        openImage({}, point);
        return;
    }
    ErrorTrap trap(prompts_);
    trap.run([&] {
        const ModuleData there = decodedImage(RestorePoints::read(*point));
        compareWith(there, QStringLiteral("the restore point of %1 (%2)")
                               .arg(restorePointTime(*point), point->origin));
    });
}

void frmTunewell_Main::mnuCompareWith_Click() {
    if (state_.BufferEmpty) {
        prompts_.message("Data buffer empty.", PromptIcon::Exclamation, PromptButtons::OK,
                         kCompareTitle);
        return;
    }
    CompareSourceDialog source(this);
    if (runDialog_(source) != QDialog::Accepted) return;
    switch (source.source()) {
        case CompareSourceDialog::Source::RestorePoint:
            mnuRestorePoints_Click();
            return;
        case CompareSourceDialog::Source::Module:
            if (const auto there = readModuleForCompare())
                compareWith(*there, QStringLiteral("the module"));
            closeIfRequested();
            return;
        case CompareSourceDialog::Source::DataFile: {
            ErrorTrap trap(prompts_);
            trap.run([&] {
                std::string name;
                trap.step([&] { name = FileOpen(prompts_, "Compare With", kDataFileFilter, ""); });
                if (name.empty()) return;
                std::optional<ModuleData> there;
                trap.step([&] {
                    ModuleData file;
                    loadDataFile(QString::fromStdString(name), file);
                    there = decodedImage(file.EEPROMBuffer);
                });
                if (there) compareWith(*there, QFileInfo(QString::fromStdString(name)).fileName());
            });
            return;
        }
        case CompareSourceDialog::Source::None:
            return;
    }
}

// The module read into a scratch image by the download sequence. The buffer, the tables,
// the caption and the buffer's identification stay as they were, whatever the outcome.
std::optional<ModuleData> frmTunewell_Main::readModuleForCompare() {
    if (transfers_->running()) return std::nullopt;
    const std::string firmware = state_.FirmwareID;
    const std::string type = state_.ModuleType;
    EepromBytes image{};
    const TransferOutcome outcome = runTransfer([&] { return transfers_->download(image); });
    state_.FirmwareID = firmware;
    state_.ModuleType = type;
    if (!outcome.succeeded) {
        showOutcome(outcome, kCompareTitle);
        return std::nullopt;
    }
    return decodedImage(image);
}

void frmTunewell_Main::compareWith(const ModuleData& there, const QString& name) {
    QString title = QStringLiteral("Compare: the buffer and %1").arg(name);
    if (editor_->hasUnsavedEdits())
        title += QStringLiteral(" (with the open table's unsaved edits)");
    CompareWindow window(
        title, there,
        {[this] { return bufferAsSaved(); },
         [this](TableKind kind, const std::vector<CellDifference>& cells) {
             takeCompareCells(kind, cells);
         },
         [this, &there](std::string_view variable) { takeCompareParameter(variable, there); }},
        this);
    runDialog_(window);
    updateStatusBar();
}

// Into the open table, opening the working table first when none is open.
void frmTunewell_Main::takeCompareCells(TableKind kind, const std::vector<CellDifference>& cells) {
    if (!editor_->tableOpen()) editor_->editTable();
    if (editor_->openKind() != kind) {
        prompts_.message("The buffer's timing table is not the table compared.",
                         PromptIcon::Exclamation, PromptButtons::OK, kCompareTitle);
        return;
    }
    std::vector<TableEditor::CellValue> values;
    for (const CellDifference& cell : cells) values.push_back({cell.column, cell.row, cell.there});
    editor_->writeCells(kind, values, QStringLiteral("Take Cells"));
    updateStatusBar();
}

// As the parameter dialogs' OK: the open table is offered first, and a new trigger timing
// brings the working tables into its window.
void frmTunewell_Main::takeCompareParameter(std::string_view name, const ModuleData& there) {
    const ParameterVariable* variable = findParameter(name);
    if (!variable || !mnuCloseTbl_Click()) return;
    if (name == "TrigTiming") clampTablesToTriggerTiming(state_, there.TrigTiming);
    variable->set(state_, variable->get(there));
    mnuNewTable->setEnabled(true);
    setTableCommandsEnabled(state_.Table2DEnabled || state_.Table3DEnabled);
    updateStatusBar();
}

}  // namespace qz
