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
    // Where the two lists came from: the configuration file and the line each list starts
    // on (no path: the built-in defaults).
    std::string ConfigurationPath;
    int SplashSettingsLine = 0;
    int CompanyInfoLine = 0;
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

// The same for an item of the configuration (SplashSettings or CompanyInfo); the error's
// detail names the file and the line the missing item belongs on.
const std::string& configurationItem(const ProgramState& state,
                                     const std::vector<std::string>& list, int index);

}  // namespace qz
