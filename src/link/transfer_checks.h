#pragma once

#include <string>

#include "core/program_state.h"
#include "core/prompts.h"
#include "link/module_protocol.h"

namespace qz {

inline constexpr auto kDownloadTitle = "Download From EEPROM";
inline constexpr auto kUploadTitle = "Upload To EEPROM";

// Up to five resyncs; on failure says "Cannot establish RS-232 link. Check cable and QZ-1
// power." and closes the port. A port that cannot be opened has been reported already and
// is not tried four more times.
bool checkLink(ModuleProtocol& protocol, SerialPort& port, Prompts& prompts,
               const std::string& title);

// Reads the identification and shows it; `verb` is "download" or "upload".
bool checkIdentity(ModuleProtocol& protocol, const ProgramState& state, Prompts& prompts,
                   const std::string& title, const std::string& verb);

}  // namespace qz
