#include "link/line_errors.h"

namespace qz {

std::optional<std::string> lineEventMessage(int code) {
    switch (static_cast<LineEvent>(code)) {
        case LineEvent::FramingError:
            return "Framing error.";
        case LineEvent::HardwareOverrun:
            return "Port hardware overrun.";
        case LineEvent::ReceiveBufferOverflow:
            return "Receive buffer overflow.";
        case LineEvent::ParityError:
            return "Parity error.";
        case LineEvent::TransmitBufferFull:
            return "Transmit buffer full.";
        case LineEvent::DeviceControlBlockError:
            return "Device control block error.";
    }
    return std::nullopt;
}

void handleLineEvent(int code, int& commErrorCount, SerialPort& port, Prompts& prompts) {
    const auto message = lineEventMessage(code);
    if (!message) return;
    ++commErrorCount;
    if (commErrorCount > 2 && port.isOpen()) port.close();
    const PromptAnswer answer = prompts.message(*message, PromptIcon::Critical,
                                                PromptButtons::RetryCancel, "Communications Error");
    if (answer == PromptAnswer::Retry) {
        if (port.isOpen()) port.discardInput();
    } else if (port.isOpen()) {
        port.close();
    }
}

}  // namespace qz
