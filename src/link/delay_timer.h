#pragma once

namespace qz {

// Waits the given milliseconds while window events go on running. The event loop waits on
// a precise timer to within two milliseconds of the end and a nanosleep takes the rest, ended
// early by the kernel's learned wake-up latency and finished by yielding for microseconds,
// so delays are accurate to a few microseconds and never end early.
void DelayTimer(int milliseconds);

}  // namespace qz
