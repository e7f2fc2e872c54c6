#pragma once

#include <string>

#include "core/prompts.h"

namespace qz {

inline constexpr auto kDataFileFilter = "QZ-1 data files (*.dat)|*.dat";

// The open-file dialog with the program's checks around it. Returns the chosen file's full
// path, or "" when the user left the dialog without a choice. A name that does not exist is
// offered again (Retry/Cancel), or, with a prompt, accepted (Yes), dropped (No) or
// cancelled. Cancel raises the application error "Canceled File Open" to the caller.
std::string FileOpen(Prompts& prompts, const std::string& title, const std::string& filter,
                     const std::string& prompt);

// The save-file dialog: an existing file is replaced only on Yes to the prompt (by default
// "Replace existing file?"); No shows the dialog again; Cancel raises "Canceled File Save".
// A name that exists but is not a regular file (a device, a pipe, a folder) is refused with
// a message, and the dialog shown again.
// The dialog proposes `proposedName`; a chosen name without an extension gets
// `defaultExtension` (such as "dat") before it is checked.
std::string FileSave(Prompts& prompts, const std::string& title, const std::string& filter,
                     const std::string& prompt, const std::string& proposedName = {},
                     const std::string& defaultExtension = {});

}  // namespace qz
