#pragma once

#include <string>
#include <vector>

#include "link/module_simulator.h"

namespace qz1 {

// A misbehaviour `qz1 sim --fault` can switch on, as NAME or NAME=N. The parser and the
// usage both read the table of them, so the usage cannot leave one out.
struct FaultKind {
    enum class Number { None, Optional, Required };
    const char* name;
    Number number;
    const char* numberName;                                // what N is, for the usage
    void (*set)(qz::SimulatorFaults& faults, int number);  // 0 when no number was given

    // As the usage shows it: "silent", "slow[=MS]", "differ=ADDRESS".
    std::string shown() const;
};

const std::vector<FaultKind>& faultKinds();

// "silent, no-echo, ..., vanish=ADDRESS".
std::string faultList();

// Adds the fault NAME or NAME=N to `faults`. Throws BadInput for a fault not in the table,
// or one without the number above 0 that it needs.
qz::SimulatorFaults withFault(qz::SimulatorFaults faults, const std::string& text);

}  // namespace qz1
