#pragma once

#include <QSerialPort>
#include <QString>
#include <array>
#include <functional>
#include <optional>

#include "link/serial_port.h"

namespace qz {

// The serial port on QSerialPort. Which device a port number opens is asked of
// `deviceForNumber`. Line errors come from the kernel's counters (TIOCGICOUNT) where the
// device keeps them; Qt no longer reports framing, parity or overrun errors itself.
class QtSerialPort : public SerialPort {
  public:
    explicit QtSerialPort(std::function<QString(int)> deviceForNumber);

    void setPortNumber(int number) override { number_ = number; }
    int portNumber() const override { return number_; }
    void open() override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void applyLineSettings() override;
    int bytesWaiting() override;
    void discardInput() override;
    void writeByte(std::uint8_t byte) override;
    std::uint8_t readByte() override;
    void waitForBytes(int count, const QDeadlineTimer& deadline, bool pumpEvents) override;
    bool deviceLost() const override { return lost_; }
    std::string deviceName() const override;

    const QSerialPort& device() const { return port_; }

  private:
    void checkLineCounters();
    // The platform's part, in qt_serial_port_posix.cpp: whether the open device polls as
    // hung up, and the kernel's line error counters (frame, overrun, buffer overrun, parity)
    // where the device keeps them.
    bool hungUp() const;
    std::optional<std::array<int, 4>> lineCounters() const;

    QSerialPort port_;
    int number_ = 1;
    std::function<QString(int)> deviceForNumber_;
    std::array<int, 4> lastCounters_{};  // frame, overrun, buffer overrun, parity
    bool countersKnown_ = false;
    bool lost_ = false;
    QString device_;  // the device last opened
};

// The description of a port that would not open, with a hint for the usual cause on Linux.
std::string openFailureDescription(QSerialPort::SerialPortError error, const QString& device,
                                   const QString& platformText);

}  // namespace qz
