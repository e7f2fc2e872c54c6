#include "soak_line.h"

#include "soak_faults.h"
#include "soak_looping.h"

namespace qz::soak {
namespace {

// An upload with verification sends under a thousand bytes; each Retry a few more.
constexpr long kLoopingBytes = 50'000;

}  // namespace

SoakLine::SoakLine(ModuleSimulator module)
    : module_(std::move(module)), port_(ModuleSimulator(EepromBytes{}, {})) {
    port_.respond = [this](std::uint8_t byte) { return answer(byte); };
}

std::vector<std::uint8_t> SoakLine::answer(std::uint8_t byte) {
    if (++sent_ > kLoopingBytes) throw Looping{};
    std::vector<std::uint8_t> bytes;
    int delayMs = 0;
    for (const SimulatorReply& reply : module_.receive(byte)) {
        delayMs += reply.delayMs;
        if (delayMs >= kReplyWaitMs) break;
        bytes.push_back(reply.byte);
    }
    if (module_.vanished()) {
        port_.lose();
        port_.failToOpen = true;
    }
    return bytes;
}

}  // namespace qz::soak
