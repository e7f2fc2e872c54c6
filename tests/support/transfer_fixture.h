#pragma once

#include "link/module_simulator.h"
#include "support/main_window_fixture.h"
#include "support/scripted_port.h"

namespace qz::test {

// The main window on a scripted port that answers as a module with the given faults.
struct TransferFixture : MainWindowFixture {
    explicit TransferFixture(SimulatorFaults faults = {}, std::string id = kDefaultSimulatorId,
                             const EepromBytes& eeprom = demoTune()) {
        auto scripted =
            std::make_unique<ScriptedPort>(ModuleSimulator(eeprom, std::move(id), faults));
        port = scripted.get();
        window->transfers().usePort(std::move(scripted));
        window->transfers().protocol().delay = [](int) {};
    }
    ScriptedPort* port;
};

}  // namespace qz::test
