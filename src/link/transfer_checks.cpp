#include "link/transfer_checks.h"

namespace qz {

bool checkLink(ModuleProtocol& protocol, SerialPort& port, Prompts& prompts,
               const std::string& title) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        protocol.ReSync();
        if (protocol.CommOK || protocol.portFailed()) break;
    }
    if (protocol.CommOK) return true;
    prompts.message("Cannot establish RS-232 link. Check cable and QZ-1 power.",
                    PromptIcon::Exclamation, PromptButtons::OK, title);
    if (port.isOpen()) port.close();
    return false;
}

bool checkIdentity(ModuleProtocol& protocol, const ProgramState& state, Prompts& prompts,
                   const std::string& title, const std::string& verb) {
    protocol.ReadFirmwareID();
    if (!protocol.CommOK) {
        prompts.message("Firmware ID read failed - cannot " + verb + ".", PromptIcon::Exclamation,
                        PromptButtons::OK, title);
        return false;
    }
    if (state.FirmwareID.empty()) {
        prompts.message("Invalid firmware ID - cannot " + verb + ".", PromptIcon::Exclamation,
                        PromptButtons::OK, title);
        return false;
    }
    prompts.message("Firmware ID: " + state.FirmwareID, PromptIcon::Exclamation, PromptButtons::OK,
                    title);
    return true;
}

}  // namespace qz
