#pragma once

#include "serial/SerialPortOwner.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <functional>

namespace kestrava {

// The exchange's view of the serial link: what the command exchange needs from a port, so that
// the real CSerialPort and an in-memory link to the receiver emulator are interchangeable. Input
// comes back through the exchange's own MSG_SERIAL_DATA and MSG_PORT_EVENT handlers.
class ExchangePort {
public:
    virtual ~ExchangePort() = default;

    // Where input (MSG_SERIAL_DATA) and the port-closed notice (MSG_PORT_EVENT) go from the next
    // opening on. The exchange names itself when it is constructed.
    virtual void setOwner(SerialPortOwner* owner) = 0;

    // The sign, everywhere, that the port is open.
    virtual bool readerAlive() const = 0;

    // Opens portName at baudRate and starts its reader (a reader still running is ended first,
    // and its port-closed notice still follows). False when the device cannot be opened or its
    // reader does not start.
    virtual bool open(const QString& portName, std::int32_t baudRate) = 0;
    // Why the last open() failed, in the system's words ("Permission denied"); empty when it did
    // not fail or no reason is known.
    virtual QString openError() const { return {}; }

    // Hands one command's bytes to the reader; does not wait for them to go out.
    virtual bool queueWrite(const std::uint8_t* bytes, std::size_t length) = 0;

    // Asks the reader to close the device; the port-closed notice follows.
    virtual void shutdown() = 0;

    // Whether the reader waits for further bursts of a reply before handing input on.
    virtual void setHoldInputOpen(bool hold) = 0;

    // What completes the reply awaited after the next write (see CSerialPort::setChunkComplete);
    // a port that hands input over by other rules may ignore it.
    virtual void setChunkComplete(std::function<bool(const std::uint8_t*, std::size_t)> complete) {
        (void)complete;
    }

    // The name the port was last opened with.
    virtual QString portName() const = 0;
};

} // namespace kestrava
