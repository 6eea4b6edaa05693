#include "emulator/RadioModule.h"

#include "protocol/Checksums.h"

namespace kestrava {

namespace {

constexpr Byte kStart = 0x96;
constexpr Byte kMarker = 0x80;
constexpr std::size_t kTableFrame = 87; // 96 55 80 code 00 00, 80 table bytes, checksum

void finish(Bytes& frame) {
    frame[1] = static_cast<Byte>(frame.size() - 1); // N = total length - 2, checksum still to come
    frame.push_back(RadioChecksum(frame.data(), frame.size()));
}

} // namespace

RadioModule::RadioModule() {
    // 459.225 MHz and up in steps of 100 kHz: 18369 units of 25 kHz, plus 4 per channel.
    for (std::size_t i = 0; i < 16; ++i) {
        m_transmit[i] = static_cast<std::uint16_t>(18369 + 4 * i);
        m_receive[i] = m_transmit[i];
    }
}

Bytes RadioModule::tableFrame(Byte code) const {
    Bytes frame(kTableFrame - 1, 0);
    frame[0] = kStart;
    frame[2] = kMarker;
    frame[3] = code;
    for (std::size_t i = 0; i < 16; ++i) {
        frame[6 + 2 * i] = static_cast<Byte>(m_transmit[i] >> 8);
        frame[7 + 2 * i] = static_cast<Byte>(m_transmit[i] & 0xFFu);
        frame[46 + 2 * i] = static_cast<Byte>(m_receive[i] >> 8);
        frame[47 + 2 * i] = static_cast<Byte>(m_receive[i] & 0xFFu);
    }
    finish(frame);
    return frame;
}

Bytes RadioModule::handle(const Bytes& frame) {
    if (frame.size() < 5 || RadioChecksum(frame.data(), frame.size() - 1) != frame.back()) {
        return {};
    }
    switch (frame[3]) {
    case 'c':
        return tableFrame('d');
    case 'a':
        if (frame.size() < kTableFrame) {
            return {};
        }
        for (std::size_t i = 0; i < 16; ++i) {
            m_transmit[i] = static_cast<std::uint16_t>((frame[6 + 2 * i] << 8) | frame[7 + 2 * i]);
            m_receive[i] = static_cast<std::uint16_t>((frame[46 + 2 * i] << 8) | frame[47 + 2 * i]);
        }
        return tableFrame('b');
    case 'r': {
        Bytes reply = {kStart, 0, kMarker, 's', 0x00, 0x00, 0x20, 0xCC, 0xAC, 0x32, m_airRate};
        finish(reply);
        return reply;
    }
    case 'p': {
        if (frame.size() < 12) {
            return {};
        }
        m_airRate = frame[10];
        Bytes reply = {kStart, 0, kMarker, 'q', 0x00, 0x00};
        finish(reply);
        return reply;
    }
    default:
        return {};
    }
}

} // namespace kestrava
