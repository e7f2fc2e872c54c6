#pragma once

#include <vector>

#include "core/error_trap.h"
#include "core/module_data.h"
#include "core/prompts.h"

namespace qz {

// What the error trap met while a codec procedure ran: the failures it reported (each
// named after the variable of the failing step) and whether the user chose Abort.
struct CodecOutcome {
    bool aborted = false;
    std::vector<TrappedFailure> failures;
};

// Decodes the image into every parameter variable and rewrites both working tables. The
// tables are decoded against the trigger timing of the same image. The only failure the
// data can cause is a vehicle speed frequency above 32767 ("Overflow"), reported through
// the error trap with Abort, Retry and Ignore.
CodecOutcome UpdateParams(ModuleData& data, Prompts& prompts);

// Encodes the parameter variables into addresses 48-55, 64-67, 72-78 and 80-90 and rebuilds
// ModuleFlags, DataLogFlags and GPIO2Mode. Table cells are not written. A variable whose
// byte falls outside 0..255 after its division and rounding raises "Overflow".
CodecOutcome UpdateEEPROM(ModuleData& data, Prompts& prompts);

}  // namespace qz
