#pragma once

#include "emulator/SimTime.h"
#include "protocol/ProtocolTypes.h"

#include <ostream>
#include <string_view>

namespace kestrava {

// A line per frame received or sent: seconds with microseconds, direction, a note, and the bytes
// in hexadecimal. For example "   1.020000 TX reply 24 24 56 43 ...".
class FrameLog {
public:
    explicit FrameLog(std::ostream& out) : m_out(out) {}

    void received(SimTime at, std::string_view note, const Bytes& bytes) {
        write(at, "RX", note, bytes);
    }
    void sent(SimTime at, std::string_view note, const Bytes& bytes) {
        write(at, "TX", note, bytes);
    }

private:
    void write(SimTime at, std::string_view direction, std::string_view note, const Bytes& bytes);

    std::ostream& m_out;
};

} // namespace kestrava
