#pragma once

#include <cstdint>

namespace kestrava {

// What the port-closed notice does next: open the port again at another baud rate (115200 for a
// fast firmware transfer, 19200 to return to normal work) and go on with the firmware transfer.
// Idle (both flags clear) except between a firmware transfer's request and the next notice.
struct ReopenRequest {
    bool reopen = false;
    std::int32_t baudRate = 19200;
    bool continueFirmware = false;
};

} // namespace kestrava
