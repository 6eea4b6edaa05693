#pragma once

#include "protocol/CommandFrame.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

namespace kestrava::test {

inline Bytes bytes(std::initializer_list<int> values) {
    Bytes out;
    for (const int v : values) {
        out.push_back(static_cast<Byte>(v));
    }
    return out;
}

inline Bytes text(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

inline Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A dollar reply as the receiver sends it, CR LF included.
inline Bytes dollar(char cls, char sub, const Bytes& payload = {}) {
    return CommandFrame::make(static_cast<Byte>(cls), static_cast<Byte>(sub), payload);
}

// The same frame as the splitter hands it on: without CR LF.
inline Bytes dollarFrame(char cls, char sub, const Bytes& payload = {}) {
    const Bytes frame = dollar(cls, sub, payload);
    return Bytes(frame.begin(), frame.end() - 2);
}

// A serial reply packet of the motherboard: 02 status 07 D data sum(1..3+D) 03.
inline Bytes serialPacket(const Bytes& data, Byte end = 0x03) {
    Bytes packet = bytes({0x02, 0x00, 0x07}) + Bytes{static_cast<Byte>(data.size())} + data;
    unsigned sum = 0;
    for (std::size_t i = 1; i < packet.size(); ++i) {
        sum += packet[i];
    }
    packet.push_back(static_cast<Byte>(sum & 0xFF));
    packet.push_back(end);
    return packet;
}

// The data of a serial reply packet with the serial at packet offset 49, the type text at 12
// and the version digits at 22 to 24 (data starts at packet offset 4).
inline Bytes serialPacketData(std::string_view serial, std::string_view type,
                              std::string_view version3) {
    Bytes data(55, 0);
    for (std::size_t i = 0; i < serial.size() && i < 10; ++i)
        data[45 + i] = serial[i];
    for (std::size_t i = 0; i < type.size() && i < 8; ++i)
        data[8 + i] = type[i];
    for (std::size_t i = 0; i < version3.size() && i < 3; ++i)
        data[18 + i] = version3[i];
    return data;
}

// A radio frame: 96 N 80 code body XOR, N = total length - 2.
inline Bytes radio(char code, const Bytes& body) {
    Bytes frame = bytes({0x96, 0x00, 0x80, code}) + body;
    frame[1] = static_cast<Byte>(frame.size() + 1 - 2);
    Byte x = 0;
    for (const Byte b : frame)
        x ^= b;
    frame.push_back(x);
    return frame;
}

} // namespace kestrava::test
