#pragma once

#include "protocol/ProtocolTypes.h"

#include <array>
#include <cstdint>

namespace kestrava {

// The internal UHF radio module, reached once the receiver has connected it through. It keeps a
// 16-channel table in units of 25 kHz and an air baud rate, and answers its own frames:
// 'c' read table -> 'd' with the table; 'a' write table -> 'b' with the new table;
// 'r' read air baud -> 's' with the rate byte at offset 10; 'p' set air baud -> 'q'.
class RadioModule {
public:
    static constexpr Byte kRate9600 = 0x55;
    static constexpr Byte kRate19200 = 0x40;

    RadioModule();

    // The reply to one radio frame; empty when the frame is unknown or its checksum is wrong.
    Bytes handle(const Bytes& frame);

    const std::array<std::uint16_t, 16>& transmit() const { return m_transmit; }
    const std::array<std::uint16_t, 16>& receive() const { return m_receive; }
    Byte airRate() const { return m_airRate; }

private:
    Bytes tableFrame(Byte code) const;

    std::array<std::uint16_t, 16> m_transmit{};
    std::array<std::uint16_t, 16> m_receive{};
    Byte m_airRate = kRate19200;
};

} // namespace kestrava
