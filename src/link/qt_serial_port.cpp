#include "link/qt_serial_port.h"

#include <QCoreApplication>

#include "core/program_error.h"
#include "link/link_log.h"

namespace qz {
namespace {

constexpr std::uint32_t kPortOpenErrorNumber = 8002;
constexpr std::uint32_t kPortClosedErrorNumber = 8018;
constexpr qint32 kBaudRate = 56000;  // not a standard rate: set as a custom one

}  // namespace

std::string openFailureDescription(QSerialPort::SerialPortError error, const QString& device,
                                   const QString& platformText) {
    std::string text = "Cannot open " + device.toStdString() + ": " + platformText.toStdString();
    if (error == QSerialPort::PermissionError)
        text +=
            ". Serial ports belong to the dialout group: add your user with "
            "'sudo usermod -a -G dialout $USER' and log in again.";
    return text;
}

QtSerialPort::QtSerialPort(std::function<QString(int)> deviceForNumber)
    : deviceForNumber_(std::move(deviceForNumber)) {
    // A device that goes away (a pulled USB adapter) hangs up the line: Qt reports a resource
    // error, or a read error on a descriptor that polls as hung up. The port is closed at
    // once, so no wait spins on a dead descriptor until its deadline.
    QObject::connect(&port_, &QSerialPort::errorOccurred, [this](QSerialPort::SerialPortError e) {
        if (!port_.isOpen()) return;
        if (e != QSerialPort::ResourceError && !(e == QSerialPort::ReadError && hungUp())) return;
        qCDebug(lcLink) << "device" << device_ << "lost:" << port_.errorString();
        lost_ = true;
        port_.close();
    });
}

std::string QtSerialPort::deviceName() const {
    if (!device_.isEmpty()) return device_.toStdString();
    const QString device = deviceForNumber_ ? deviceForNumber_(number_) : QString();
    return device.isEmpty() ? SerialPort::deviceName() : device.toStdString();
}

void QtSerialPort::applyLineSettings() {
    port_.setBaudRate(kBaudRate);
    port_.setDataBits(QSerialPort::Data8);
    port_.setParity(QSerialPort::NoParity);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    port_.setReadBufferSize(256);
    if (port_.isOpen()) {
        // A pseudo-terminal has no modem lines: failing to set them is not an error.
        port_.setDataTerminalReady(true);
        port_.setRequestToSend(false);
        port_.clearError();
    }
}

void QtSerialPort::open() {
    const QString device = deviceForNumber_ ? deviceForNumber_(number_) : QString();
    if (device.isEmpty())
        throw ProgramError(kPortOpenErrorNumber, "Comm Error",
                           "No serial device is set for Com" + std::to_string(number_) + ".");
    lost_ = false;
    device_ = device;
    port_.setPortName(device);
    if (!port_.open(QIODevice::ReadWrite)) {
        const auto description = openFailureDescription(port_.error(), device, port_.errorString());
        port_.clearError();
        throw ProgramError(kPortOpenErrorNumber, "Comm Error", description);
    }
    applyLineSettings();
    countersKnown_ = false;
    checkLineCounters();
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
}

int QtSerialPort::bytesWaiting() {
    checkLineCounters();
    return static_cast<int>(port_.bytesAvailable());
}

void QtSerialPort::discardInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    port_.readAll();
}

void QtSerialPort::writeByte(std::uint8_t byte) {
    const char data = static_cast<char>(byte);
    if (!port_.isOpen())
        throw ProgramError(kPortClosedErrorNumber, "Comm Error",
                           "The port " + deviceName() + " is closed.");
    if (port_.write(&data, 1) != 1)
        throw ProgramError(kPortOpenErrorNumber, "Comm Error", port_.errorString().toStdString());
    port_.flush();
}

std::uint8_t QtSerialPort::readByte() {
    char data = 0;
    if (!port_.getChar(&data))
        throw ProgramError(kPortOpenErrorNumber, "Comm Error", "No byte to read from the port.");
    return static_cast<std::uint8_t>(data);
}

// Waits on the port itself, which wakes the moment a byte arrives; never spins. A pumping
// wait runs the window's events between slices of at most 10 ms.
void QtSerialPort::waitForBytes(int count, const QDeadlineTimer& deadline, bool pumpEvents) {
    constexpr qint64 kSliceMs = 10;
    for (;;) {
        if (pumpEvents) QCoreApplication::processEvents();
        if (!port_.isOpen() || bytesWaiting() >= count || deadline.hasExpired()) return;
        const qint64 remaining = std::max<qint64>(1, deadline.remainingTime());
        port_.waitForReadyRead(
            static_cast<int>(pumpEvents ? std::min(remaining, kSliceMs) : remaining));
    }
}

void QtSerialPort::checkLineCounters() {
    if (!port_.isOpen() || !onLineEvent) return;
    const auto counters = lineCounters();
    if (!counters) return;
    const std::array<int, 4> now = *counters;
    const LineEvent events[] = {LineEvent::FramingError, LineEvent::HardwareOverrun,
                                LineEvent::ReceiveBufferOverflow, LineEvent::ParityError};
    const std::array<int, 4> before = countersKnown_ ? lastCounters_ : now;
    lastCounters_ = now;
    countersKnown_ = true;
    for (std::size_t i = 0; i < now.size(); ++i)
        if (now[i] > before[i]) onLineEvent(events[i]);
}

}  // namespace qz
