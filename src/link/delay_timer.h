#pragma once

namespace qz {

// Waits the given milliseconds while window events go on running. Sleeps, never spins:
// the event loop waits on a precise timer to within a millisecond of the end, and a
// nanosleep to the monotonic deadline takes the rest, so delays are accurate to a small
// fraction of a millisecond.
void DelayTimer(int milliseconds);

}  // namespace qz
