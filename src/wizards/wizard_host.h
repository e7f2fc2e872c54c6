#pragma once

#include <functional>

#include "core/program_state.h"
#include "core/prompts.h"
#include "table/table_editor.h"

namespace qz {

// What a new-table wizard needs of the main window: the program state, the prompts, the
// table editor that shows what the wizard makes, and the caption.
struct WizardHost {
    ProgramState& state;
    Prompts& prompts;
    TableEditor& editor;
    std::function<void(const std::string&)> setCaption;
};

// Opening a wizard over an open table of its kind: "Save timing table before closing
// file?". Yes saves the table's edits to the buffer (so nothing is lost when the wizard
// replaces the table), No goes on, Cancel keeps the table on show. False for Cancel, or when
// the edits could not be saved.
bool offerToSaveOpenTable(WizardHost& host, TableKind kind);

}  // namespace qz
