#include "link/delay_timer.h"

#include <sched.h>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ctime>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "core/program_error.h"

namespace qz {
namespace {

timespec monotonicNow() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now;
}

long long nanoseconds(const timespec& t) {
    return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

}  // namespace

DelayTimer::DelayTimer() {
#ifdef __linux__
    // The kernel's default 50 us timer slack would add up over the 528 delays of a transfer.
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
}

void DelayTimer::operator()(int milliseconds) {
    // The microsecond count is a 32-bit value; a delay that does not fit is an overflow.
    const long long micros = static_cast<long long>(milliseconds) * 1000;
    if (micros > 2147483647LL || micros < -2147483648LL) throw overflowError();
    const long long end = nanoseconds(monotonicNow()) + micros * 1000;

    const long long coarse = end - nanoseconds(monotonicNow()) - 2'000'000;
    if (coarse > 0) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(coarse / 1'000'000), Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
    QCoreApplication::processEvents();

    // The kernel wakes a sleeper some tens of microseconds late. Sleep that much less, as
    // learned from the last wakes, and yield the processor for the few microseconds left,
    // so a delay neither ends early nor adds up lateness over a transfer.
    const long long target = end - wakeLatencyNs_;
    timespec until{static_cast<time_t>(target / 1'000'000'000LL),
                   static_cast<long>(target % 1'000'000'000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    const long long late = nanoseconds(monotonicNow()) - target;
    wakeLatencyNs_ = std::clamp((wakeLatencyNs_ * 7 + late) / 8, 0LL, 200'000LL);
    while (nanoseconds(monotonicNow()) < end) sched_yield();
}

}  // namespace qz
