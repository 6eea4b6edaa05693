#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrava {

// The two messages that the serial port sends to its owner. The numbers are the owner window's
// message ids, kept so that the owner can name them in logs and dispatch tables.
inline constexpr int MSG_SERIAL_DATA = 0x0400 + 7;
inline constexpr int MSG_PORT_EVENT = 0x0400 + 20;

// The receiver of a CSerialPort's input and of its port-closed notice. Both calls arrive on the
// thread that called OpenPort (the user-interface thread), never on the reader thread.
class SerialPortOwner {
public:
    virtual ~SerialPortOwner() = default;

    // MSG_SERIAL_DATA: one chunk of received bytes, all reads of one pass in the order read. The
    // reader does not read on until this returns; the bytes are valid only until then.
    virtual void onSerialData(const std::uint8_t* bytes, std::size_t count) = 0;

    // MSG_PORT_EVENT: posted once a reader has closed the device (after a shutdown request or
    // after the device went away).
    virtual void onPortEvent() = 0;
};

} // namespace kestrava
