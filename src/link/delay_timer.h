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
    long long wakeLatencyNs_ = 50'000;
};

}  // namespace qz
