#pragma once

#include "protocol/ChannelTable.h"
#include "protocol/ExpectedReply.h"
#include "protocol/ProtocolTypes.h"

#include <cstddef>
#include <cstdint>

namespace kestrava {

// Builders of the commands to the receiver's internal UHF radio module, sent through once the
// radio has been connected. Each replaces out with the exact bytes to write and returns their
// number. The radio's replies carry no class and sub, so only the kind and the radio framing are
// armed; the class and sub bytes of expected are left as they were.
//
// Radio frame: 96 N 80 code 00 00 parameters checksum, N = frame length - 2, the checksum the
// XOR of every byte before it.

// 96 05 80 63 00 00 70. Kind 3. 7 bytes.
std::size_t ReadRadioChannels(Bytes& out, ExpectedReply& expected);

// 96 05 80 72 00 00 61. Kind 4. 7 bytes.
std::size_t ReadAirBaud(Bytes& out, ExpectedReply& expected);

// 96 0A 80 70 00 00 20 CC AC 32 rate checksum, rate 0x55 for 9600 bit/s and 0x40 for any other
// value (19200 bit/s). Kind 6. 12 bytes.
std::size_t SetAirBaud(Bytes& out, ExpectedReply& expected, std::int32_t bitsPerSecond);

// 96 55 80 61 00 00, the channel table, checksum (87 bytes), then 13 zero bytes that are written
// too. Channel i's transmit frequency is at offset 6 + 2i and its receive frequency at 46 + 2i,
// each as radioFrequencyCode, big-endian. Kind 5. 100 bytes.
std::size_t WriteRadioChannels(Bytes& out, ExpectedReply& expected, const ChannelTable& table);

// A frequency in MHz in the radio's units of 25 kHz: the integer part of (f x 1000 + 0.4),
// divided by 25 with the remainder dropped (463.125 MHz gives 18525). Negative and non-numeric
// values give 0 and values beyond the 16-bit field give 0xFFFF, never a wrapped-around code.
std::uint16_t radioFrequencyCode(double megahertz);

} // namespace kestrava
