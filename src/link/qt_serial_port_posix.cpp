#include <poll.h>

#ifdef __linux__
#include <linux/serial.h>
#include <sys/ioctl.h>
#endif

#include "link/qt_serial_port.h"

namespace qz {

bool QtSerialPort::hungUp() const {
    pollfd watch{static_cast<int>(port_.handle()), POLLIN, 0};
    return poll(&watch, 1, 0) == 1 && (watch.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

std::optional<std::array<int, 4>> QtSerialPort::lineCounters() const {
#ifdef __linux__
    serial_icounter_struct counters{};
    if (ioctl(static_cast<int>(port_.handle()), TIOCGICOUNT, &counters) != 0) return std::nullopt;
    return std::array<int, 4>{counters.frame, counters.overrun, counters.buf_overrun,
                              counters.parity};
#else
    return std::nullopt;
#endif
}

}  // namespace qz
