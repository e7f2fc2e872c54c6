#pragma once

#include <optional>
#include <string>

#include "core/prompts.h"
#include "link/serial_port.h"

namespace qz {

// The message of a line error event code; nothing for any other code.
std::optional<std::string> lineEventMessage(int code);

// Reports a line error: counts it, closes the port from the third error on, and asks
// Retry (discard what was received, the exchange goes on) or Cancel (close the port).
void handleLineEvent(int code, int& commErrorCount, SerialPort& port, Prompts& prompts);

}  // namespace qz
