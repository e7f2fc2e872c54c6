#include "link/pty_simulator_host.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/program_error.h"

namespace qz {

PtySimulatorHost::PtySimulatorHost(ModuleSimulator simulator) : simulator_(std::move(simulator)) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        const std::string reason = std::strerror(errno);
        if (master_ >= 0) ::close(master_);
        throw ProgramError(kFileAccessErrorNumber, "Comm Error",
                           "Cannot open a pseudo-terminal: " + reason);
    }
    devicePath_ = QString::fromLocal8Bit(ptsname(master_));
    slave_ = ::open(ptsname(master_), O_RDWR | O_NOCTTY);
    if (slave_ >= 0) {
        termios raw{};
        tcgetattr(slave_, &raw);
        cfmakeraw(&raw);
        tcsetattr(slave_, TCSANOW, &raw);
    }
    thread_ = std::thread([this] { serve(); });
}

PtySimulatorHost::~PtySimulatorHost() {
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
    if (slave_ >= 0) ::close(slave_);
    if (master_ >= 0) ::close(master_);
}

EepromBytes PtySimulatorHost::eeprom() const {
    const std::lock_guard lock(mutex_);
    return simulator_.eeprom();
}

// Both ends closed, as when a USB adapter is pulled: the device the program holds open
// hangs up and its name goes away.
void PtySimulatorHost::hangUp() {
    ::close(slave_);
    ::close(master_);
    slave_ = master_ = -1;
}

void PtySimulatorHost::serve() {
    while (!stopping_) {
        pollfd watch{master_, POLLIN, 0};
        if (poll(&watch, 1, 20) <= 0 || !(watch.revents & POLLIN)) continue;
        std::uint8_t received[64];
        const ssize_t count = ::read(master_, received, sizeof received);
        for (ssize_t i = 0; i < count; ++i) {
            std::vector<SimulatorReply> replies;
            {
                const std::lock_guard lock(mutex_);
                replies = simulator_.receive(received[i]);
                if (simulator_.vanished()) return hangUp();
            }
            for (const SimulatorReply& reply : replies) {
                if (reply.delayMs > 0)
                    std::this_thread::sleep_for(std::chrono::milliseconds(reply.delayMs));
                if (::write(master_, &reply.byte, 1) != 1) break;
            }
        }
    }
}

}  // namespace qz
