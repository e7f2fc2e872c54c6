#include "link/port_directory.h"

#include <QSerialPortInfo>
#include <algorithm>

namespace qz {
namespace {

QString deviceKey(int number) {
    return QStringLiteral("Devices/Com%1").arg(number);
}

}  // namespace

PortDirectory::PortDirectory(QSettings& settings, QStringList detected)
    : settings_(settings), detected_(std::move(detected)) {}

QString PortDirectory::deviceFor(int number) const {
    const QString chosen = settings_.value(deviceKey(number)).toString();
    if (!chosen.isEmpty()) return chosen;
    if (number >= 1 && number <= detected_.size()) return detected_[number - 1];
    if (detected_.isEmpty() && number == 1) return QString::fromLatin1(kSimulator);
    return {};
}

void PortDirectory::choose(int number, const QString& device) {
    settings_.setValue(deviceKey(number), device);
}

int PortDirectory::savedPortNumber() const {
    bool ok = false;
    const int number = settings_.value(QStringLiteral("Properties/CommPort"), QStringLiteral("1"))
                           .toString()
                           .toInt(&ok);
    // A value that is not a port number falls back to the first port.
    return ok && number >= 1 && number <= 255 ? number : 1;
}

void PortDirectory::savePortNumber(int number) {
    settings_.setValue(QStringLiteral("Properties/CommPort"), QString::number(number));
}

QStringList detectSerialDevices() {
    QStringList adapters;
    QStringList builtIn;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        const QString name = info.portName();
        (name.startsWith(QLatin1String("ttyUSB")) || name.startsWith(QLatin1String("ttyACM"))
             ? adapters
             : builtIn)
            << info.systemLocation();
    }
    auto byName = [](QStringList& list) {
        std::sort(list.begin(), list.end(), [](const QString& a, const QString& b) {
            return a.size() != b.size() ? a.size() < b.size() : a < b;  // ttyS2 before ttyS10
        });
    };
    byName(adapters);
    byName(builtIn);
    return adapters + builtIn;
}

}  // namespace qz
