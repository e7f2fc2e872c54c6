#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>

namespace qz {

// Which device each port number Com1..Com255 opens. A user's choice is kept in the settings
// store; without one, ComN opens the N-th serial device found (USB adapters and ACM devices
// first, then built-in ports), and on a machine with no serial device Com1 opens the
// built-in module simulator, so the program can be tried without a module.
class PortDirectory {
  public:
    static constexpr auto kSimulator = "simulator";
    static constexpr auto kSimulatorName = "Built-in module simulator";

    // `detected` lists the machine's serial devices in the order above.
    PortDirectory(QSettings& settings, QStringList detected);

    QString deviceFor(int number) const;
    void choose(int number, const QString& device);
    const QStringList& detected() const { return detected_; }

    // The saved port number ("CommPort", default 1) and saving it.
    int savedPortNumber() const;
    void savePortNumber(int number);

  private:
    QSettings& settings_;
    QStringList detected_;
};

// The machine's serial devices, USB and ACM devices first.
QStringList detectSerialDevices();

// The settings store of the program: application "Tunewell_QZ_Main".
inline constexpr auto kSettingsApplication = "Tunewell_QZ_Main";

}  // namespace qz
