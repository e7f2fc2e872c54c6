#pragma once

#include "link/module_simulator.h"
#include "support/scripted_port.h"

namespace qz::soak {

// The simulated module on the in-memory scripted port, whose waits return at once, made to
// behave as it does on a real line: reply bytes the module would send after the program's
// wait for them has ended are never seen (they arrive after the port was closed and its input
// emptied), and a module that vanishes takes its device along, so the port is lost and will
// not open again. A transfer sending far more bytes than any retry can explain is looping.
class SoakLine {
  public:
    explicit SoakLine(ModuleSimulator module);

    test::ScriptedPort& port() { return port_; }
    const ModuleSimulator& module() const { return module_; }

  private:
    std::vector<std::uint8_t> answer(std::uint8_t byte);

    ModuleSimulator module_;
    test::ScriptedPort port_;  // its own simulator stays unused: module_ answers instead
    long sent_ = 0;
};

}  // namespace qz::soak
