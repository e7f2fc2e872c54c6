#pragma once

#include <QSettings>
#include <QStringList>
#include <memory>

#include "core/program_state.h"
#include "core/prompts.h"
#include "link/module_protocol.h"
#include "link/port_directory.h"
#include "link/pty_simulator_host.h"
#include "link/serial_port.h"
#include "link/transfer_sequence.h"

namespace qz {

// The main window's serial state: which port number and device, the port itself, the
// protocol on it, the built-in simulator when chosen, the line error count, and whether a
// transfer is running. The window routes its port commands and events here.
class Transfers {
  public:
    Transfers(QSettings& settings, QStringList detectedDevices, ProgramState& state,
              Prompts& prompts, ProgressView& progress);
    ~Transfers();

    int CommPortNumber = 1;
    int CommErrorCount = 0;

    // Tests put in a port of their own.
    void usePort(std::unique_ptr<SerialPort> port);
    SerialPort& port() { return *port_; }
    ModuleProtocol& protocol() { return *protocol_; }
    PortDirectory& ports() { return ports_; }
    bool running() const { return running_; }

    // Start-up: the saved port number; the line configured, the port left closed.
    void setUp();
    // Another port number chosen: saved, and the port closed so the next exchange opens it.
    void selectPort(int number);
    // Another device chosen (or typed) for the current port number.
    void chooseDevice(const QString& device);
    // After the window's layout: the port is closed and, unless the window was minimised,
    // configured again. A running transfer keeps its port: closing it would lose the reply.
    void windowResized(bool minimised);
    void closePort();

    TransferOutcome download(EepromBytes& image);
    TransferOutcome upload();

    // A line error event of the port.
    void MSComm1_OnComm(int eventCode);

  private:
    QString deviceForPort(int number);

    ProgramState& state_;
    Prompts& prompts_;
    ProgressView& progress_;
    PortDirectory ports_;
    std::unique_ptr<PtySimulatorHost> simulator_;
    std::unique_ptr<SerialPort> port_;
    std::unique_ptr<ModuleProtocol> protocol_;
    bool running_ = false;
};

}  // namespace qz
