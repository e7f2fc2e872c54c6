#pragma once

namespace qz {

// The settling delays of the protocol. Waits the given milliseconds while window events go
// on running: the event loop waits on a precise timer to within two milliseconds of the end
// and a nanosleep takes the rest, ended early by the kernel's wake-up latency as learned from
// the previous delays and finished by yielding for microseconds, so a delay is accurate to a
// few microseconds and never ends early.
class DelayTimer {
  public:
    DelayTimer();
    void operator()(int milliseconds);

  private:
    // The platform's part, in delay_timer_posix.cpp: a monotonic clock in nanoseconds, and
    // the last moments up to `end` on it.
    static long long nowNs();
    void finishAt(long long end);

    long long wakeLatencyNs_ = 50'000;
};

}  // namespace qz
