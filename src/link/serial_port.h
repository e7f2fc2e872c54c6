#pragma once

#include <QDeadlineTimer>
#include <cstdint>
#include <functional>
#include <string>

namespace qz {

// Line errors the port reports, with the event codes the program has always used.
enum class LineEvent {
    FramingError = 1004,
    HardwareOverrun = 1006,
    ReceiveBufferOverflow = 1008,
    ParityError = 1009,
    TransmitBufferFull = 1010,
    DeviceControlBlockError = 1011,
};

// The serial port as the module protocol uses it: one byte written or read at a time, a
// count of bytes waiting, and waits that end when enough bytes are waiting or a deadline
// passes. Failures to open are ProgramErrors with the platform's description.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    virtual void setPortNumber(int number) = 0;
    virtual int portNumber() const = 0;
    virtual void open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // 56000 baud, no parity, 8 data bits, 1 stop bit; NUL bytes kept; DTR on, RTS off.
    virtual void applyLineSettings() = 0;
    virtual int bytesWaiting() = 0;
    virtual void discardInput() = 0;
    virtual void writeByte(std::uint8_t byte) = 0;
    virtual std::uint8_t readByte() = 0;

    // Waits until at least `count` bytes are waiting or the deadline passes. A pumping wait
    // lets window events run meanwhile; a tight wait does not.
    virtual void waitForBytes(int count, const QDeadlineTimer& deadline, bool pumpEvents) = 0;

    // Whether the device went away while open (a pulled USB adapter); the port is closed
    // then, and a wait returns at once. Opening the port again clears it.
    virtual bool deviceLost() const { return false; }
    // The device the port opens, for messages.
    virtual std::string deviceName() const { return "Com" + std::to_string(portNumber()); }

    // Called for each line error the port detects.
    std::function<void(LineEvent)> onLineEvent;
};

}  // namespace qz
