#pragma once

#include <QString>
#include <atomic>
#include <mutex>
#include <thread>

#include "link/module_simulator.h"

namespace qz {

// Serves a simulated module on a pseudo-terminal, on a thread of its own, so that the
// program's real serial port code talks to it through a tty exactly as to a module.
class PtySimulatorHost {
  public:
    // Opens the pseudo-terminal and starts serving; throws ProgramError when it cannot.
    explicit PtySimulatorHost(ModuleSimulator simulator);
    ~PtySimulatorHost();
    PtySimulatorHost(const PtySimulatorHost&) = delete;
    PtySimulatorHost& operator=(const PtySimulatorHost&) = delete;

    // The device the program opens, such as /dev/pts/3.
    QString devicePath() const { return devicePath_; }

    // The simulated module's EEPROM as it stands now.
    EepromBytes eeprom() const;

  private:
    void serve();
    void hangUp();

    ModuleSimulator simulator_;
    mutable std::mutex mutex_;
    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees the line hang up between uses
    QString devicePath_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qz
