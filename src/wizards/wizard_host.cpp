#include "wizards/wizard_host.h"

namespace qz {

bool offerToSaveOpenTable(WizardHost& host, TableKind kind) {
    if (!host.editor.shows(kind)) return true;
    const PromptAnswer answer =
        host.prompts.message("Save timing table before closing file?", PromptIcon::Exclamation,
                             PromptButtons::YesNoCancel, "Close File");
    if (answer == PromptAnswer::Cancel) return false;
    return answer == PromptAnswer::No || host.editor.saveTable();
}

}  // namespace qz
