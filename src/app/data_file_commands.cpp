#include <QCoreApplication>
#include <QFileInfo>
#include <optional>

#include "app/main_window.h"
#include "core/error_trap.h"
#include "files/buffer_status_name.h"
#include "files/data_file.h"
#include "files/file_dialogs.h"
#include "history/restore_points_window.h"
#include "image/eeprom_buffer.h"
#include "image/parameter_codec.h"

namespace qz {

// Opens a data file into the buffer. Nothing the user had is touched until the whole file
// has been read: cancelling, a short file and a read error leave buffer, tables, caption
// and identification as they were.
void frmTunewell_Main::mnuOpenFile_Click() {
    openDataFile({});
}

// Open File, with the file chosen in the dialog or, when given, named already.
void frmTunewell_Main::openDataFile(const std::string& given) {
    openImage(given, std::nullopt);
}

void frmTunewell_Main::openImage(const std::string& given,
                                 const std::optional<RestorePoint>& point) {
    if (!editor_->offerToKeepEdits()) return;
    ErrorTrap trap(prompts_);
    trap.run([&] {
        if (!state_.BufferEmpty &&
            prompts_.message("Data buffer not empty. OK to overwrite?", PromptIcon::None,
                             PromptButtons::OKCancel, "Open Data File") == PromptAnswer::Cancel)
            return;
        QCoreApplication::processEvents();

        std::string name = point ? point->dataPath.toStdString() : given;
        if (name.empty())
            trap.step([&] { name = FileOpen(prompts_, "Open File", kDataFileFilter, ""); });
        if (name.empty()) return;
        name = QFileInfo(QString::fromStdString(name)).absoluteFilePath().toStdString();
        std::optional<ImageBytes> bytes;
        trap.step([&] {
            try {
                bytes = readDataFile(QString::fromStdString(name));
            } catch (const PrematureEndOfFile&) {
                prompts_.message("Error - reached premature end-of-file", PromptIcon::Exclamation,
                                 PromptButtons::OK, "Open Data File");
            }
        });
        if (!bytes) return;

        const std::string when = point ? restorePointTime(*point).toStdString() : std::string();
        keepRestorePoint(
            point ? "before Restore"
                  : "before Open File " +
                        QFileInfo(QString::fromStdString(name)).fileName().toStdString());
        state_.FirmwareID.clear();
        state_.ModuleType.clear();
        // While the file is decoded the caption says the buffer is empty: a value that
        // cannot be decoded is reported at that moment.
        state_.BufferStatus = "Data Buffer Empty";
        showBufferStatusCaption();
        EepromBytes image{};
        std::copy(bytes->begin(), bytes->end(), image.begin() + kImageFirstAddress);
        takeImage(image, point ? "Restore Point " + when
                               : bufferStatusName(QString::fromStdString(name)).toStdString());
        // A restored buffer is in no file of the user's: Save File asks for a name.
        currentFile_ = point ? std::string() : name;
        prompts_.message("Loaded " + (point ? "the restore point of " + when : name) +
                             " to buffer. Ready for editing or upload.",
                         PromptIcon::None, PromptButtons::OK, "Open Data File");
        mnuEditModParams_Click();
    });
}

void frmTunewell_Main::takeImage(const EepromBytes& image, const std::string& status) {
    state_.EEPROMBuffer = image;
    state_.BufferEmpty = false;
    UpdateParams(state_, prompts_);
    editor_->imageReplaced();
    mnuNewTable->setEnabled(true);
    setTableCommandsEnabled(state_.Table2DEnabled || state_.Table3DEnabled);
    baseline_.set(state_);
    state_.BufferStatus = status;
    showBufferStatusCaption();
}

// Saves the buffer to a data file, written whole and atomically.
bool frmTunewell_Main::mnuSaveFile_Click() {
    if (editor_->tableOpen()) {
        prompts_.message("You must close or save any open table before saving data to a file.",
                         PromptIcon::Exclamation, PromptButtons::OK, "Save Data File");
        return false;
    }
    return saveBufferToFile();
}

bool frmTunewell_Main::saveBufferToFile() {
    if (state_.BufferEmpty) {
        prompts_.message("Data buffer empty.", PromptIcon::Exclamation, PromptButtons::OK,
                         "Save Data File");
        return false;
    }
    bool saved = false;
    ErrorTrap trap(prompts_);
    trap.run([&] {
        std::string name;
        trap.step([&] {
            name = FileSave(prompts_, "Save File", kDataFileFilter, "", currentFile_, "dat");
        });
        if (name.empty()) return;
        UpdateEEPROM(state_, prompts_);
        bool written = false;
        trap.step([&] {
            writeDataFile(QString::fromStdString(name), state_.EEPROMBuffer);
            written = true;
        });
        // A file that was not written does not name the buffer.
        if (!written) return;
        currentFile_ = name;
        baseline_.set(state_);
        saved = true;
        state_.BufferStatus = bufferStatusName(QString::fromStdString(name)).toStdString();
        showBufferStatusCaption();
    });
    return saved;
}

}  // namespace qz
