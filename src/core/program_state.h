#pragma once

#include <string>
#include <vector>

#include "core/module_data.h"

namespace qz {

// What the whole program shares, created by the entry procedure and passed by reference.
// There are no globals: a test builds its own state.
struct ProgramState : ModuleData {
    std::vector<std::string> SplashSettings;
    std::vector<std::string> CompanyInfo;
    std::string AppTitle;
    std::string BufferStatus;
    std::string FirmwareID;
    std::string ModuleType;
    bool UserAbort = false;
    int VerifyErrorCount = 0;
    std::string ClipText;
    int ClipRowSpan = 0;
    int ClipColSpan = 0;
};

// Item `index` (from 1) of one of the program's string lists. A missing item is the
// run-time error "Invalid procedure call or argument".
const std::string& listItem(const std::vector<std::string>& list, int index);

}  // namespace qz
