#include "link/transfer_sequence.h"

#include "image/parameter_codec.h"

namespace qz {
namespace {

TransferOutcome failure(std::string message, PromptIcon icon) {
    return {false, std::move(message), icon, {}};
}

// Up to five resyncs. A port that cannot be opened has been reported already and is not
// tried four more times, whatever the answer to its prompt was.
bool linkEstablished(ModuleProtocol& protocol) {
    for (int attempt = 0; attempt < 5; ++attempt) {
        protocol.ReSync();
        if (protocol.CommOK || protocol.portFailed()) break;
    }
    if (protocol.CommOK) return true;
    if (protocol.port().isOpen()) protocol.port().close();
    return false;
}

// The link and identity checks, with a line in the progress frame while they run. Returns a
// refusal, or nothing when the module answered and its identification was shown.
std::optional<TransferOutcome> checkModule(ModuleProtocol& protocol, const std::string& title,
                                           const std::string& verb) {
    ProgramState& state = protocol.state();
    state.UserAbort = false;
    protocol.progress().showStatus("Checking RS-232 link");
    const bool linked = linkEstablished(protocol);
    if (linked) protocol.ReadFirmwareID();
    protocol.progress().hideProgress();
    if (!linked)
        return failure("Cannot establish RS-232 link. Check cable and QZ-1 power.",
                       PromptIcon::Exclamation);
    if (!protocol.CommOK)
        return failure("Firmware ID read failed - cannot " + verb + ".", PromptIcon::Exclamation);
    if (state.FirmwareID.empty())
        return failure("Invalid firmware ID - cannot " + verb + ".", PromptIcon::Exclamation);
    protocol.prompts().message("Firmware ID: " + state.FirmwareID, PromptIcon::Exclamation,
                               PromptButtons::OK, title);
    return std::nullopt;
}

// The identification and module type in force are those of the image in the buffer: a
// transfer that fails puts back what it read of the module.
template <typename Transfer>
TransferOutcome keepingIdentityOnFailure(ModuleProtocol& protocol, Transfer transfer) {
    ProgramState& state = protocol.state();
    const std::string id = state.FirmwareID;
    const std::string type = state.ModuleType;
    TransferOutcome outcome = transfer();
    if (!outcome.succeeded) {
        state.FirmwareID = id;
        state.ModuleType = type;
    }
    return outcome;
}

TransferOutcome readModule(ModuleProtocol& protocol, EepromBytes& image) {
    if (auto refusal = checkModule(protocol, kDownloadTitle, "download")) return *refusal;
    if (protocol.state().ModuleType != "QZ-1")
        return failure("Not standard QZ-1 unit. Cannot download and edit data.", PromptIcon::None);
    protocol.ReadEEPROMData(image);
    if (!protocol.CommOK) return failure("Download failed.", PromptIcon::Exclamation);
    return {true, "Downloaded data to buffer. Ready for editing.", PromptIcon::None, {}};
}

TransferOutcome programModule(ModuleProtocol& protocol) {
    ProgramState& state = protocol.state();
    if (state.BufferEmpty)
        return failure("No data available for uploading.", PromptIcon::Exclamation);
    if (auto refusal = checkModule(protocol, kUploadTitle, "upload")) return *refusal;
    if (state.ModuleType != "QZ-1") {
        state.ModuleType = "QZ-1";
        return failure("Not standard QZ-1 unit. Cannot upload data.", PromptIcon::None);
    }
    UpdateEEPROM(state, protocol.prompts());
    protocol.WriteEEPROMData();
    if (!protocol.CommOK)
        return failure("Upload aborted - EEPROM programming failed.", PromptIcon::Information);
    if (state.VerifyErrorCount != 0)
        return {false, "Upload aborted - EEPROM verification failed.", PromptIcon::Information,
                protocol.mismatches};
    return {true,
            "Upload completed. Remember to cycle power off for 5 seconds\nand then on again "
            "before starting engine.",
            PromptIcon::Exclamation,
            {}};
}

}  // namespace

std::string TransferOutcome::detail() const {
    std::string text;
    for (const Mismatch& m : mismatches)
        text += "address " + std::to_string(m.address) + ": wrote " + std::to_string(m.expected) +
                ", read " + std::to_string(m.read) + "\n";
    return text;
}

TransferOutcome downloadModule(ModuleProtocol& protocol, EepromBytes& image) {
    return keepingIdentityOnFailure(protocol, [&] { return readModule(protocol, image); });
}

TransferOutcome uploadImage(ModuleProtocol& protocol) {
    return keepingIdentityOnFailure(protocol, [&] { return programModule(protocol); });
}

}  // namespace qz
