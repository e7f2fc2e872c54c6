#pragma once

#include <cstdint>
#include <string>

#include "soak_faults.h"

namespace qz::soak {

// What one transfer came to. A false result is a success with bytes other than the module's,
// a success the module's fault rules out, a failure nothing could have caused, or a transfer
// that never ended; a lost image is a failed transfer that changed the data buffer.
enum class Verdict { Succeeded, Failed, FalseResult, LostImage };

struct SoakResult {
    bool upload = false;
    FaultKind kind = FaultKind::None;
    std::string faultText;  // the fault with its address or rate, for the report
    Verdict verdict = Verdict::Failed;
    std::string why;  // for a false result or a lost image
    int aborts = 0, retries = 0, ignores = 0, otherBoxes = 0;
    bool retriesSpent = false;
    double skippedDelayMs = 0;  // the settling delays the protocol asked for and did not get
};

// One download or upload against a freshly drawn module, fault and data buffer, every choice
// drawn from `seed`, so the same seed gives the same transfer.
SoakResult runTransfer(std::uint64_t seed);

}  // namespace qz::soak
