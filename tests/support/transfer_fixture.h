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
    // What the user had before the command: a tune opened from a file.
    void loadSomething() {
        state.EEPROMBuffer.fill(0x21);
        state.BufferEmpty = false;
        state.TrigTiming = 12;
        state.FirmwareID = "QZ-1 street";
        state.ModuleType = "QZ-1";
        window->setWindowTitle("Tunewell QZ Version 1.5 - street.dat");
    }
    ScriptedPort* port;
};

}  // namespace qz::test
