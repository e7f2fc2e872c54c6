#include <sched.h>
#include <algorithm>
#include <cerrno>
#include <ctime>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#include "link/delay_timer.h"

namespace qz {

DelayTimer::DelayTimer() {
#ifdef __linux__
    // The kernel's default 50 us timer slack would add up over the 528 delays of a transfer.
    prctl(PR_SET_TIMERSLACK, 1UL);
#endif
}

long long DelayTimer::nowNs() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

// The kernel wakes a sleeper some tens of microseconds late. Sleep that much less, as
// learned from the last wakes, and yield the processor for the few microseconds left, so a
// delay neither ends early nor adds up lateness over a transfer.
void DelayTimer::finishAt(long long end) {
    const long long target = end - wakeLatencyNs_;
    timespec until{static_cast<time_t>(target / 1'000'000'000LL),
                   static_cast<long>(target % 1'000'000'000LL)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    const long long late = nowNs() - target;
    wakeLatencyNs_ = std::clamp((wakeLatencyNs_ * 7 + late) / 8, 0LL, 200'000LL);
    while (nowNs() < end) sched_yield();
}

}  // namespace qz
