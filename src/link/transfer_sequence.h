#pragma once

#include <string>
#include <vector>

#include "core/prompts.h"
#include "link/module_protocol.h"

namespace qz {

inline constexpr auto kDownloadTitle = "Download From EEPROM";
inline constexpr auto kUploadTitle = "Upload To EEPROM";

// What a download or an upload came to: whether it succeeded, the message that says so with
// its icon, and, for a failed verification, each address that differs.
struct TransferOutcome {
    bool succeeded = false;
    std::string message;
    PromptIcon icon = PromptIcon::None;
    std::vector<Mismatch> mismatches;

    // One line per differing address: "address 100: wrote 30, read 68".
    std::string detail() const;
};

// Reads the module into `image`: the link check (up to five resyncs), the identity check
// (the identification is shown through the protocol's prompts) and the read. The data
// buffer is left alone: the caller takes `image` only from a successful outcome.
TransferOutcome downloadModule(ModuleProtocol& protocol, EepromBytes& image);

// Programs the data buffer into the module, after the link and identity checks and encoding
// the parameter variables into it, and verifies every byte.
TransferOutcome uploadImage(ModuleProtocol& protocol);

}  // namespace qz
